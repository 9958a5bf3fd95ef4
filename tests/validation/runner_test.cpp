// The runner keeps the validator alive whatever a check does, and says what happened.
#include "host/validation/runner.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "host/validation/canary_text.h"

namespace tovrel::validation {
namespace {

Check checkDoing(const std::function<Outcome(const CheckContext&)>& run) {
    return {"family.check", 1, 10.0, run};
}

TEST(Runner, CrashHangAndThrowBecomeFailLinesNamingTheStep) {
    const CheckContext context;
    const Outcome crash = runIsolated(checkDoing([](const CheckContext&) -> Outcome {
                                          noteStep("poking the plug-in");
                                          raise(SIGABRT);
                                          return passed();
                                      }),
                                      context, 10.0);
    EXPECT_EQ(crash.verdict, Verdict::Fail);
    EXPECT_EQ(crash.detail, "crashed with SIGABRT (Aborted) during poking the plug-in");

    const Outcome hang = runIsolated(checkDoing([](const CheckContext&) -> Outcome {
                                         noteStep("waiting forever");
                                         for (;;) pause();
                                     }),
                                     context, 0.2);
    EXPECT_EQ(hang.verdict, Verdict::Fail);
    EXPECT_NE(hang.detail.find("timed out after"), std::string::npos) << hang.detail;
    EXPECT_NE(hang.detail.find("during waiting forever"), std::string::npos) << hang.detail;

    const Outcome thrown = runIsolated(checkDoing([](const CheckContext&) -> Outcome {
                                           throw CheckFailure("expected a, seen b");
                                       }),
                                       context, 10.0);
    EXPECT_EQ(thrown.verdict, Verdict::Fail);
    EXPECT_EQ(thrown.detail, "expected a, seen b");

    const Outcome exited =
        runIsolated(checkDoing([](const CheckContext&) -> Outcome { _exit(3); }), context, 10.0);
    EXPECT_EQ(exited.detail, "the process exited with status 3");
}

TEST(Runner, VerdictAndDetailCrossTheProcessBoundary) {
    const Outcome info = runIsolated(
        checkDoing([](const CheckContext&) { return informed("line one\nline two"); }), {}, 10.0);
    EXPECT_EQ(info.verdict, Verdict::Info);
    EXPECT_EQ(info.detail, "line one line two");
}

TEST(Runner, LevelsSkipsAndAPluginThatDoesNotLoad) {
    std::vector<Check> checks = {
        {"load.entry", 1, 10.0, [](const CheckContext&) { return failed("no file"); }},
        {"text.identity", 1, 10.0, [](const CheckContext&) { return passed(); }},
        {"state.round-trip", 3, 10.0, [](const CheckContext&) { return passed(); }}};
    CheckContext context;
    context.level = 2;
    std::vector<std::string> seen;
    const auto results = runChecks(checks, context, {}, [&](const CheckResult& result) {
        seen.push_back(result.name + " " + verdictWord(result.outcome.verdict));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"load.entry FAIL", "text.identity SKIP"}));
    EXPECT_EQ(results[1].outcome.detail, "the plug-in does not load");
    EXPECT_TRUE(isSkipped("state.round-trip", {"state"}));
    EXPECT_TRUE(isSkipped("state.round-trip", {"state.round-trip"}));
    EXPECT_FALSE(isSkipped("state.round-trip", {"state.round"}));
    EXPECT_FALSE(isSkipped("stateful.x", {"state"}));
}

TEST(CanaryText, SeesOverrunsMissingTerminatorsAndUntouchedBuffers) {
    const auto writes = [](const char* text) {
        return [text](char* buffer) { std::memcpy(buffer, text, std::strlen(text) + 1); };
    };
    EXPECT_EQ(checkedText("name", writes("Gain"), 9), "Gain");
    EXPECT_EQ(checkedText("name", writes("12345678"), 9), "12345678");
    try {
        checkedText("name", writes("123456789"), 9);
        ADD_FAILURE() << "a 10-byte text passed a 9-byte limit";
    } catch (const CheckFailure& failure) {
        EXPECT_STREQ(failure.what(),
                     "name: expected at most 8 characters and a terminator, seen 10 bytes "
                     "written \"123456789\"");
    }
    EXPECT_THROW(checkedText(
                     "name", [](char* b) { std::memset(b, 'x', 9); }, 9),
                 CheckFailure);
    EXPECT_TRUE(leavesBufferAlone([](char*) {}));
    EXPECT_FALSE(leavesBufferAlone([](char* b) { b[700] = 0; }));
}

}  // namespace
}  // namespace tovrel::validation
