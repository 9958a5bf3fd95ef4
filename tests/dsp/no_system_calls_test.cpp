// Processing allocates nothing, locks nothing and makes no system call, in either precision and
// for blocks of any size.
#include <gtest/gtest.h>

#include "system_call_guard.h"
#include "test_support.h"

namespace tovrel::dsp::test {
namespace {

TEST(NoSystemCalls, NothingAllocatedLockedNorCalled) {
    if (!tovrel::test::kCallsInterposed) GTEST_SKIP() << "sanitizer runtimes";
    Stereo<float> single(4096);
    Stereo<double> twice(4096);
    SignalState state = freshState();
    EXPECT_TRUE(tovrel::test::callsNothing([&] {
        for (std::int32_t frames : {0, 1, 64, 512, 4096}) {
            single.process(state, 44100.0f, kEverythingOn, 0, frames);
            twice.process(state, 96000.0f, kDefaults, 0, frames);
            single.process(state, 22050.0f, kDefaults, 0, frames);
        }
    }));
}

}  // namespace
}  // namespace tovrel::dsp::test
