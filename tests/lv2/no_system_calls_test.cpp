// An LV2 run allocates nothing, locks nothing and makes no system call, for blocks of any size,
// with controls changing and controls not connected.
#include <gtest/gtest.h>

#include "lv2_instance.h"
#include "system_call_guard.h"

namespace tovrel::lv2::test {
namespace {

TEST(Lv2NoSystemCalls, RunNeitherAllocatesLocksNorCalls) {
    if (!tovrel::test::kCallsInterposed) GTEST_SKIP() << "sanitizer runtimes";
    StereoAudio audio(4096), output(4096);
    Lv2Instance effect(44100.0);
    ASSERT_TRUE(effect.valid());
    effect.activate();
    effect.connect(kInputLeft, audio.left.data()), effect.connect(kInputRight, audio.right.data());
    effect.connect(kOutputLeft, output.left.data());
    effect.connect(kOutputRight, output.right.data());
    EXPECT_TRUE(tovrel::test::callsNothing([&] {
        effect.run(512);  // controls not connected yet
        effect.connectAll(audio.left.data(), audio.right.data(), audio.left.data(),
                          audio.right.data());
        for (std::uint32_t frames : {0u, 1u, 64u, 512u, 4096u}) {
            effect.controls[kHi] = frames % 2 ? 0.8f : 0.2f;
            effect.run(frames);
        }
    }));
}

}  // namespace
}  // namespace tovrel::lv2::test
