// The building blocks on the design's own examples, and the dither's size in each precision.
#include <gtest/gtest.h>

#include <cmath>

#include "effect/dsp/biquad.h"
#include "effect/dsp/dither.h"
#include "effect/dsp/one_pole.h"
#include "effect/dsp/precision.h"
#include "effect/dsp/saturator.h"
#include "test_support.h"

namespace tovrel::dsp {
namespace {

bool sameBits(LongDouble a, LongDouble b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(OnePole, StepsTowardsItsInput) {
    LongDouble state{};
    const LongDouble one = widen(1.0);
    EXPECT_TRUE(sameBits(onePoleStep(state, 0.25, one), widen(0.25)));
    EXPECT_TRUE(sameBits(one - state, widen(0.75)));  // the high-pass output
    EXPECT_TRUE(sameBits(onePoleStep(state, 0.25, one), widen(0.4375)));
}

TEST(OnePole, TinyStatesAreDroppedLowWordAndAll) {
    LongDouble tiny = makeLongDouble(-1.0e-37, 1.0e-60);
    EXPECT_TRUE(sameBits(onePoleStep(tiny, 0.5, widen(0.0)), widen(0.0)));
    LongDouble atThreshold = widen(1.18e-37);
    EXPECT_EQ(highWord(onePoleStep(atThreshold, 0.5, widen(0.0))), 0.59e-37);
}

TEST(Biquad, HistoryShiftsAfterEachOutput) {
    LongDouble section[kSectionSize] = {};
    section[kA0] = widen(0.25), section[kA1] = widen(0.5), section[kA2] = widen(0.25);
    LongDouble* history = section + kHistoryL;
    const double outputs[] = {0.25, 0.5, 0.25, 0.0};
    for (int n = 0; n < 4; ++n) {
        const LongDouble y = biquadStep(section, history, widen(n == 0 ? 1.0 : 0.0));
        EXPECT_EQ(highWord(y), outputs[n]) << n;
        EXPECT_TRUE(sameBits(history[kY1], y));
        EXPECT_EQ(highWord(history[kY2]), n == 0 ? 0.0 : outputs[n - 1]);
    }
    EXPECT_EQ(highWord(history[kX2]), 0.0);
    for (int i = kHistoryR; i < kSectionSize; ++i) EXPECT_EQ(highWord(section[i]), 0.0);
}

TEST(Saturator, RisesToItsLimitsAndHoldsThem) {
    EXPECT_NEAR(highWord(saturate(widen(0.5))), 0.494475, 1e-15);
    EXPECT_TRUE(sameBits(saturate(widen(2.0)), saturate(widen(1.0))));
    EXPECT_TRUE(sameBits(saturate(widen(-1e300)), saturate(widen(-1.0))));
    EXPECT_TRUE(sameBits(saturate(widen(INFINITY)), saturate(widen(1.0))));
    EXPECT_NEAR(highWord(saturate(widen(1.0))), 0.8232, 1e-15);
    // Just above 1 by a low word: clamped, so the low word is gone.
    EXPECT_TRUE(sameBits(saturate(makeLongDouble(1.0, 1e-20)), saturate(widen(1.0))));
    EXPECT_TRUE(std::isnan(highWord(saturate(widen(NAN)))));
    LongDouble previous = saturate(widen(-1.0));
    for (double x = -0.999; x <= 1.0; x += 0.001) {
        const LongDouble y = saturate(widen(x));
        EXPECT_TRUE(y > previous) << x;
        previous = y;
    }
}

TEST(Dither, ExponentFollowsTheWrittenWord) {
    const double roundsUpToOne = 1.0 - 0x1p-30;
    EXPECT_EQ(SinglePath::exponentOf(roundsUpToOne), 1);
    EXPECT_EQ(DoublePath::exponentOf(roundsUpToOne), 0);
    EXPECT_EQ(SinglePath::exponentOf(1e-50), 0);  // narrows to zero
    EXPECT_EQ(DoublePath::exponentOf(1e-50), -166);
}

// Gain 0 silences the chain: the output is the dither alone, peaking at 2^93 times the scale.
template <typename Sample>
void expectSilenceDitherPeak(double scale) {
    SignalState s = test::freshState();
    test::Stereo<Sample> signal(20000);
    signal.processAll(s, 44100.0f, {0.1f, 0.5f, 0.5f, 0.0f, 1.0f}, 512);
    double peak = 0.0;
    for (Sample x : signal.outLeft) {
        EXPECT_NE(x, 0);
        peak = std::fmax(peak, std::fabs(static_cast<double>(x)));
    }
    EXPECT_LE(peak, 0x1p93 * scale * (1 + 0x1p-20));
    EXPECT_GE(peak, 0x1p93 * scale * 0.999);
}

TEST(Dither, SilencePeaksAtTheWordSize) {
    expectSilenceDitherPeak<float>(5.5e-36);
    expectSilenceDitherPeak<double>(1.1e-44);
}

}  // namespace
}  // namespace tovrel::dsp
