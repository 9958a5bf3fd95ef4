// The test signals: accurate enough to mean what their names say, and with the properties the
// suite's cases rely on (tiny values on the right side of each threshold, exact silence).
#include "tests/render/signals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tovrel::render {
namespace {

TEST(PortableSine, FollowsTheLibrarySine) {
    for (int i = -2000; i <= 2000; ++i) {
        const double cycles = i / 997.0;
        EXPECT_NEAR(portableSine(cycles), std::sin(6.283185307179586 * cycles), 1e-12) << cycles;
    }
    EXPECT_EQ(portableSine(0.0), 0.0);
    EXPECT_NEAR(portableSine(0.25), 1.0, 1e-15);
}

TEST(NoiseSource, StaysInRangeAndRepeatsFromItsSeed) {
    NoiseSource a(42), b(42), zero(0);
    double low = 1.0, high = -1.0;
    for (int i = 0; i < 100000; ++i) {
        const double x = a.nextBipolar();
        ASSERT_EQ(x, b.nextBipolar());
        low = std::fmin(low, x);
        high = std::fmax(high, x);
    }
    EXPECT_GE(low, -1.0);
    EXPECT_LT(high, 1.0);
    EXPECT_LT(low, -0.999);
    EXPECT_GT(high, 0.999);
    EXPECT_NE(zero.next(), 0u);  // a zero seed would stick at zero
}

TEST(Signals, TinyValuesStraddleTheSubstitutionThresholds) {
    for (double level : {1e-40, 1e-38}) {
        const StereoSignal s = makeSignal({SignalKind::Tiny, level}, 44100, 4000);
        for (double x : s.left) {
            ASSERT_GE(std::fabs(x), 0.5 * level);
            ASSERT_LE(std::fabs(x), 1.5 * level);
            ASSERT_LT(std::fabs(x), 1.18e-37);  // replaced in the single-precision path
            ASSERT_GE(std::fabs(x), 1.18e-43);  // kept in the double path
            ASSERT_NE(static_cast<float>(x), 0.0f);
        }
    }
}

TEST(Signals, EdgesAreExact) {
    const StereoSignal silence = makeSignal({SignalKind::Silence, 0.0}, 44100, 1000);
    for (double x : silence.right) ASSERT_EQ(x, 0.0);

    const StereoSignal square = makeSignal({SignalKind::Square, 4.0}, 48000, 48000);
    for (double x : square.left) ASSERT_EQ(std::fabs(x), 4.0);
    EXPECT_NE(square.left, square.right);

    const StereoSignal burst = makeSignal({SignalKind::Burst, 0.8}, 48000, 10000);
    EXPECT_NE(burst.left[2399], 0.0);
    for (int n = 2400; n < 10000; ++n) ASSERT_EQ(burst.left[n], 0.0);
}

TEST(Signals, SweepStaysWithinItsLevel) {
    const StereoSignal sweep = makeSignal({SignalKind::Sweep, 0.5}, 22050, 22050);
    double peak = 0.0;
    for (double x : sweep.left) peak = std::fmax(peak, std::fabs(x));
    EXPECT_LE(peak, 0.5);
    EXPECT_GT(peak, 0.499);
}

}  // namespace
}  // namespace tovrel::render
