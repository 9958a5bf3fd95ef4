// The design's own numbers: the per-block values, the four sections the setup leaves in the
// state, the building blocks on their examples, and the dither's size in each precision.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "effect/dsp/blocks/biquad.h"
#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/one_pole.h"
#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/blocks/saturator.h"
#include "test_support.h"

namespace tovrel::dsp::test {
namespace {

// Every per-block value, bit for bit. A negative Hi or Lo adds nothing instead of a NaN level.
TEST(BlockSetup, Values) {
    const double trim = 1.0000000298023226, root = 0.7071067811865476;  // float 0.1 is above 0.1
    const double in = 0.001860867, mid = 0.000287496, lo = 0.159, hi = 0.236;
    const double c44 = 0.4344671201814059, c88 = 0.21723356009070294;
    const std::tuple<float, ParameterSnapshot, BlockValues> rows[] = {
        {44100, kDefaults, {1, trim, 1, root, 1, root, 1, 1, in, mid, lo, hi, c44}},
        {88200, kDefaults, {2, trim, 1, root, 1, root, 1, 1, in / 2, mid / 2, lo / 2, hi / 2, c88}},
        {44100, {0, 1, 0, 0.25f, 0}, {1, 0, 4, 1, 0, 0, 0.25, 0, in, mid, lo, hi, c44}},
        {44100, {0.1f, -0.5f, -1, 1, 1}, {1, trim, 1, 0, 4, 0, 1, 1, in, mid, lo, hi, c44}},
    };
    constexpr std::size_t kCount = sizeof(BlockValues) / sizeof(double);
    for (const auto& [rate, p, expected] : rows) {
        double got[kCount], want[kCount];
        const BlockValues v = computeBlockValues(rate, p);
        std::memcpy(got, &v, sizeof v), std::memcpy(want, &expected, sizeof v);
        for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(got[i], want[i]) << rate << " " << i;
    }
    // Below this rate the sections are guarded; at it they follow the formula.
    EXPECT_EQ(computeBlockValues(38320.5f, kDefaults).cutoff, 19160.0 / 38320.5);
}

// K follows from a low-pass design's own coefficients: b1 / a0 = 2 (K^2 - 1) / K^2.
double designedK(const DoubleDouble* s) {
    return std::sqrt(2.0 / (2.0 - highWord(s[kB1]) / highWord(s[kA0])));
}

// The sections as a call at 44100 Hz leaves them; then calls of zero or fewer frames at 88200 Hz
// refresh the design and leave everything else, noise and history, as it was.
TEST(BlockSetup, Sections) {
    SignalState s = freshState();
    Stereo<float> signal(256);
    signal.processAll(s, 44100.0f, kDefaults, 256);
    const double expected[4][5] = {{0.431684981684982, 0.654714, 1.30943, 1.25232, 0.366537},
                                   {1.1582298, 0.817047, 1.63409, 1.56283, 0.705362},
                                   {0.657027382751269, 0.734504, 1.46901, 1.40494, 0.533075},
                                   {1.076210852946577, 0.807976, 1.61595, 1.54548, 0.686428}};
    const int element[] = {kQ, kA0, kA1, kB1, kB2};
    for (int k = 0; k < 4; ++k) {
        const DoubleDouble* c = s.*kSections[k];
        EXPECT_EQ(highWord(c[kCutoff]), 0.4344671201814059);
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(highWord(c[element[i]]), expected[k][i], 6e-6) << i;
        EXPECT_EQ(highWord(c[kA2]), highWord(c[kA0]));
        EXPECT_NEAR(designedK(c), 4.78843, 1e-5);
        const DoubleDouble dcGain = (c[kA0] + c[kA1] + c[kA2]) / (widen(1.0) + c[kB1] + c[kB2]);
        EXPECT_NEAR(highWord(dcGain), 1.0, 1e-15);
    }
    for (std::int32_t frames : {0, -1, -1000}) {
        const SignalState before = s;
        signal.outLeft.assign(256, 7.0f);
        signal.process(s, 88200.0f, kDefaults, 0, frames);
        EXPECT_EQ(highWord(s.lowpassC[kCutoff]), 0.21723356009070294);
        EXPECT_NEAR(designedK(s.lowpassC), 0.8127, 1e-4);
        for (auto section : kSections) std::copy_n(before.*section, kHistoryL, s.*section);
        EXPECT_TRUE(sameBits(s, before)) << frames;
        EXPECT_EQ(signal.outLeft[0], 7.0f);
    }
}

// The design's own examples of the one-pole, the biquad and the saturator.
TEST(BuildingBlocks, DesignExamples) {
    DoubleDouble state{};
    const DoubleDouble one = widen(1.0);
    EXPECT_TRUE(sameBits(onePoleStep(state, 0.25, one), widen(0.25)));
    EXPECT_TRUE(sameBits(one - state, widen(0.75)));  // the high-pass output
    EXPECT_TRUE(sameBits(onePoleStep(state, 0.25, one), widen(0.4375)));
    // Tiny states are dropped, low word and all.
    DoubleDouble tiny = makeDoubleDouble(-1.0e-37, 1.0e-60), atThreshold = widen(1.18e-37);
    EXPECT_TRUE(sameBits(onePoleStep(tiny, 0.5, widen(0.0)), widen(0.0)));
    EXPECT_EQ(highWord(onePoleStep(atThreshold, 0.5, widen(0.0))), 0.59e-37);

    // The biquad's history shifts after each output.
    DoubleDouble section[kSectionSize] = {};
    section[kA0] = widen(0.25), section[kA1] = widen(0.5), section[kA2] = widen(0.25);
    DoubleDouble* history = section + kHistoryL;
    const double outputs[] = {0.25, 0.5, 0.25, 0.0};
    for (int n = 0; n < 4; ++n) {
        const DoubleDouble y = biquadStep(section, history, widen(n == 0 ? 1.0 : 0.0));
        EXPECT_EQ(highWord(y), outputs[n]) << n;
        EXPECT_TRUE(sameBits(history[kY1], y));
        EXPECT_EQ(highWord(history[kY2]), n == 0 ? 0.0 : outputs[n - 1]);
    }
    for (int i = kHistoryR; i < kSectionSize; ++i) EXPECT_EQ(highWord(section[i]), 0.0);

    // The saturator rises to its limits; beyond them, by a low word too, it gives the limit's.
    EXPECT_NEAR(highWord(saturate(widen(0.5))), 0.494475, 1e-15);
    EXPECT_NEAR(highWord(saturate(widen(1.0))), 0.8232, 1e-15);
    for (DoubleDouble x : {widen(2.0), widen(1e300), widen(INFINITY), makeDoubleDouble(1.0, 1e-20)}) {
        EXPECT_TRUE(sameBits(saturate(x), saturate(widen(1.0))));
        EXPECT_TRUE(sameBits(saturate(-x), saturate(widen(-1.0))));
    }
}

// Gain 0 silences the chain: the output is the dither alone, never zero, peaking at 2^93 times
// the noise scale of its precision.
template <typename Sample>
void silencePeaksAt(double scale) {
    SignalState s = freshState();
    Stereo<Sample> signal(20000);
    signal.processAll(s, 44100.0f, {0.1f, 0.5f, 0.5f, 0.0f, 1.0f}, 512);
    double peak = 0.0;
    for (Sample x : signal.outLeft) peak = x == 0 ? INFINITY : std::fmax(peak, std::fabs(x));
    EXPECT_TRUE(peak >= 0x1p93 * scale * 0.999 && peak <= 0x1p93 * scale * (1 + 0x1p-20)) << peak;
}

TEST(Dither, SizedToTheWrittenWord) {
    silencePeaksAt<float>(5.5e-36);
    silencePeaksAt<double>(1.1e-44);
    // The exponent is the written word's: rounded to float this reaches 1, and a value that
    // narrows to zero in the single path has exponent 0 there.
    EXPECT_TRUE(SinglePath::exponentOf(1.0 - 0x1p-30) == 1 &&
                DoublePath::exponentOf(1.0 - 0x1p-30) == 0);
    EXPECT_TRUE(SinglePath::exponentOf(1e-50) == 0 && DoublePath::exponentOf(1e-50) == -166);
}

}  // namespace
}  // namespace tovrel::dsp::test
