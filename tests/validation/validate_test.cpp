// The validator catches real faults, each for its own reason, passes a correct plug-in and
// Tovrel, and survives whatever the Debian plug-ins do.
#include <gtest/gtest.h>

#include <iterator>

#include "validate_support.h"

namespace tovrel::validation::test {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kGuardInterposed = false;
#else
constexpr bool kGuardInterposed = true;
#endif

TEST(Validate, CorrectPluginPassesEveryLevel) {
    const ValidatorRun run = validate(BROKEN_NONE, "--level 10");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.report["totals"]["fail"], 0) << run.output;
    EXPECT_EQ(verdictOf(run, "state.round-trip").first, "pass");
}

TEST(Validate, TovrelPassesEveryLevel) {
    const ValidatorRun run = validate(TOVREL_PLUGIN, "--level 10");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.report["totals"]["fail"], 0) << run.output;
    EXPECT_EQ(verdictOf(run, "determinism.instances-float").first, "info") << run.output;
}

struct Fault {
    const char* plugin;
    const char* check;
    const char* reason;  // a piece of the FAIL line
};

// Named after the plug-in, which says the fault.
void PrintTo(const Fault& fault, std::ostream* out) {
    const std::string path = fault.plugin;
    *out << path.substr(path.rfind('/') + 1);
}

class BrokenPlugin : public ::testing::TestWithParam<Fault> {};

TEST_P(BrokenPlugin, FailsForItsOwnReason) {
    const Fault fault = GetParam();
    const ValidatorRun run = validate(fault.plugin, "--level 6 --skip realtime.double");
    EXPECT_EQ(run.status, 1) << run.output;
    const auto [verdict, detail] = verdictOf(run, fault.check);
    EXPECT_EQ(verdict, "fail") << run.output;
    EXPECT_NE(detail.find(fault.reason), std::string::npos) << detail;
    // Nothing else fails for the wrong reason: the other checks pass as on the correct plug-in.
    EXPECT_EQ(run.report["totals"]["fail"], 1) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenPlugin,
    ::testing::Values(
        Fault{BROKEN_TEXT_OVERRUN, "text.parameter-names",
              "parameter 0 \"A much too long name\""
              " name: expected at most 8 characters"},
        Fault{BROKEN_CHUNK, "state.round-trip", "bank chunk set back on the same instance"},
        Fault{BROKEN_NAN_STICKS, "numeric.nan-recovery-float",
              "expected finite output from block 6 on"},
        Fault{BROKEN_LEAVES_FTZ, "numeric.fp-mode-float",
              "host in the default mode: expected MXCSR 0x1f80"},
        // AddressSanitizer turns the signal into an exit status, so only the step is common.
        Fault{BROKEN_RANGE_CRASH, "range.parameters",
              kGuardInterposed ? "crashed with SIGSEGV (Segmentation fault) during getParameter "
                                 "and setParameter at index 3"
                               : "during getParameter and setParameter at index 3"}));

class RealtimeFault : public ::testing::TestWithParam<Fault> {};

TEST_P(RealtimeFault, FailsTheGuardedProcessing) {
    if (!kGuardInterposed) GTEST_SKIP() << "sanitizer runtimes keep their own allocator";
    const Fault fault = GetParam();
    const ValidatorRun run = validate(fault.plugin, "--level 6 --skip realtime.double");
    EXPECT_EQ(run.status, 1) << run.output;
    const auto [verdict, detail] = verdictOf(run, fault.check);
    EXPECT_EQ(verdict, "fail") << run.output;
    EXPECT_NE(detail.find(fault.reason), std::string::npos) << detail;
    EXPECT_EQ(run.report["totals"]["fail"], 1) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RealtimeFault,
    ::testing::Values(Fault{BROKEN_ALLOCATES, "realtime.float", "seen an allocation"},
                      Fault{BROKEN_LOCKS, "realtime.float", "seen a lock"},
                      Fault{BROKEN_CALLS_SYSTEM, "realtime.float", "seen a system call"}));

TEST(Validate, HangOnLoadTimesOutAndSkipsTheRest) {
    const ValidatorRun run = validate(BROKEN_HANGS_ON_LOAD, "--level 3 --time-scale 0.1");
    EXPECT_EQ(run.status, 1) << run.output;
    const auto [verdict, detail] = verdictOf(run, "load.entry");
    EXPECT_EQ(verdict, "fail");
    EXPECT_NE(detail.find("timed out after"), std::string::npos) << detail;
    EXPECT_NE(detail.find("during calling the entry point"), std::string::npos) << detail;
    EXPECT_EQ(verdictOf(run, "state.round-trip").first, "skip");
}

TEST(Validate, UsageErrorsExitWithTwo) {
    EXPECT_EQ(validate("/nonexistent/plugin.so", "").status, 2);
    EXPECT_EQ(validate(BROKEN_NONE, "--level 11").status, 2);
    EXPECT_EQ(validate(BROKEN_NONE, "--skip no-such-check").status, 2);
}

TEST(Validate, SkipByNameOrFamilyAndSameSeedSameReport) {
    const ValidatorRun first =
        validate(BROKEN_NONE, "--level 3 --seed 7 --skip state,text.identity");
    EXPECT_EQ(verdictOf(first, "state.round-trip").first, "skip");
    EXPECT_EQ(verdictOf(first, "state.hostile-chunks").first, "skip");
    EXPECT_EQ(verdictOf(first, "text.identity").first, "skip");
    EXPECT_EQ(verdictOf(first, "text.parameter-names").first, "pass");
    EXPECT_EQ(verdictOf(first, "process.float").first, "missing");  // level 4
    EXPECT_EQ(first.report["seed"], 7);
    const ValidatorRun second =
        validate(BROKEN_NONE, "--level 3 --seed 7 --skip state,text.identity");
    EXPECT_EQ(first.output, second.output);
    EXPECT_EQ(first.report, second.report);
}

TEST(Validate, WritesJunitBesideTheLines) {
    const std::string junit = "/tmp/tovrel-validate-junit-" + std::to_string(getpid()) + ".xml";
    const ValidatorRun run = validate(BROKEN_CHUNK, "--level 3 --junit " + junit);
    std::ifstream file(junit);
    const std::string xml((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(junit.c_str());
    EXPECT_NE(run.output.find("FAIL  state.round-trip"), std::string::npos) << run.output;
    EXPECT_NE(xml.find("<testcase classname=\"state\" name=\"state.round-trip\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<failure message=\"bank chunk set back on the same instance"),
              std::string::npos)
        << xml;
}

// Whatever a third-party plug-in does, the validator finishes and reports every check.
class ThirdParty : public ::testing::TestWithParam<const char*> {};

TEST_P(ThirdParty, ValidatorNeverCrashes) {
    const std::string plugin = GetParam();
    if (access(plugin.c_str(), R_OK) != 0) GTEST_SKIP() << plugin << " is not installed";
    const ValidatorRun run = validate(plugin, "--level 5");
    EXPECT_TRUE(run.status == 0 || run.status == 1) << run.output;
    ASSERT_TRUE(run.report.contains("checks")) << run.output;
    EXPECT_EQ(verdictOf(run, "load.entry").first, "pass") << run.output;
    EXPECT_NE(verdictOf(run, "numeric.fp-mode-float").first, "missing") << run.output;
    std::printf("%s", run.output.c_str());  // the results, for the record
}

INSTANTIATE_TEST_SUITE_P(Debian, ThirdParty,
                         ::testing::Values("/usr/lib/vst/3BandEQ-vst.so",
                                           "/usr/lib/vst/MVerb-vst.so", "/usr/lib/vst/Kars-vst.so",
                                           "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so",
                                           "/usr/lib/vst/lsp-plugins/compressor-stereo.so",
                                           "/usr/lib/vst/lsp-plugins/limiter-stereo.so",
                                           "/usr/lib/vst/lsp-plugins/mb-compressor-stereo.so"));

}  // namespace
}  // namespace tovrel::validation::test
