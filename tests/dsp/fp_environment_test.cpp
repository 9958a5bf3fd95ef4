// Hosts that flush subnormals or round otherwise around the call change nothing, and get their
// own mode back.
#include <gtest/gtest.h>

#include "host_fp_mode.h"
#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::Stereo;

// Near 1e-300 the low words and the dither are subnormal: flushing would change them.
template <typename Sample>
void expectHostModeMakesNoDifference(double amplitude) {
    Stereo<Sample> plain(2048, amplitude), hosted(2048, amplitude);
    SignalState a = test::freshState(), b = test::freshState();
    plain.processAll(a, 44100.0f, test::kEverythingOn, 512);
    const test::HostFpMode host = test::currentFpMode();
    const test::HostFpMode flushing = test::flushingHostMode();
    test::setFpMode(flushing);
    hosted.processAll(b, 44100.0f, test::kEverythingOn, 512);
    const test::HostFpMode after = test::currentFpMode();
    test::setFpMode(host);
    EXPECT_EQ(after.rounding, flushing.rounding);
    EXPECT_EQ(after.mxcsr, flushing.mxcsr);
    EXPECT_TRUE(test::sameBits(plain.outLeft, hosted.outLeft));
    EXPECT_TRUE(test::sameBits(plain.outRight, hosted.outRight));
    EXPECT_TRUE(test::sameBits(a, b));
}

TEST(FpEnvironment, HostModesMakeNoDifference) {
    expectHostModeMakesNoDifference<double>(1e-300);
    expectHostModeMakesNoDifference<double>(1.0);
    expectHostModeMakesNoDifference<float>(1e-30);
    expectHostModeMakesNoDifference<float>(1.0);
}

#if defined(__SSE2__)
// The flushing mode of the test above really flushes.
TEST(FpEnvironment, FlushingModeFlushes) {
    volatile double subnormal = 1e-310, half = 0.5;
    const test::HostFpMode host = test::currentFpMode();
    test::setFpMode(test::flushingHostMode());
    volatile double product = subnormal * half;
    test::setFpMode(host);
    EXPECT_EQ(product, 0.0);
}
#endif

}  // namespace
}  // namespace tovrel::dsp
