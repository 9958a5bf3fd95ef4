// Processing allocates nothing, locks nothing and makes no system call, in either precision and
// for blocks of any size.
#include <gtest/gtest.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "call_counters.h"
#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::Stereo;

void processEverySize(SignalState& state, Stereo<float>& single, Stereo<double>& twice) {
    for (std::int32_t frames : {0, 1, 64, 512, 4096}) {
        single.process(state, 44100.0f, test::kEverythingOn, 0, frames);
        twice.process(state, 96000.0f, test::kDefaults, 0, frames);
        single.process(state, 22050.0f, test::kDefaults, 0, frames);
    }
}

TEST(NoSystemCalls, NothingAllocatedNorLocked) {
    if (!test::callCountersAvailable()) GTEST_SKIP() << "sanitizer allocators";
    Stereo<float> single(4096);
    Stereo<double> twice(4096);
    SignalState state = test::freshState();
    processEverySize(state, single, twice);  // first calls bind their library functions
    test::startCounting();
    processEverySize(state, single, twice);
    const test::CallCounts counts = test::stopCounting();
    EXPECT_EQ(counts.allocations, 0);
    EXPECT_EQ(counts.releases, 0);
    EXPECT_EQ(counts.locks, 0);
}

// In strict seccomp mode any system call but read, write and exit kills the process.
TEST(NoSystemCalls, RunsUnderStrictSeccomp) {
#if defined(__powerpc__)
    GTEST_SKIP() << "the emulator makes system calls of its own";
#endif
    if (!test::callCountersAvailable()) GTEST_SKIP() << "sanitizer runtimes";
    Stereo<float> single(4096);
    Stereo<double> twice(4096);
    SignalState state = test::freshState();
    processEverySize(state, single, twice);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) syscall(SYS_exit, 2);
        processEverySize(state, single, twice);
        syscall(SYS_exit, 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace tovrel::dsp
