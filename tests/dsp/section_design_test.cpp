// The four low-pass sections as the per-block setup leaves them in the state.
#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::freshState;
using test::kDefaults;

struct Expected {
    const LongDouble* section;
    double a0, a1, b1, b2;
};

// K follows from a low-pass design's own coefficients: b1 / a0 = 2 (K^2 - 1) / K^2.
double designedK(const LongDouble* s) {
    return std::sqrt(2.0 / (2.0 - highWord(s[kB1]) / highWord(s[kA0])));
}

TEST(SectionDesign, CoefficientsAt44100) {
    SignalState s = freshState();
    processFloat(s, 44100.0f, kDefaults, nullptr, nullptr, 0);
    const Expected expected[] = {{s.lowpassA, 0.654714, 1.30943, 1.25232, 0.366537},
                                 {s.lowpassB, 0.817047, 1.63409, 1.56283, 0.705362},
                                 {s.lowpassC, 0.734504, 1.46901, 1.40494, 0.533075},
                                 {s.lowpassD, 0.807976, 1.61595, 1.54548, 0.686428}};
    for (const Expected& e : expected) {
        const LongDouble* c = e.section;
        EXPECT_EQ(highWord(c[kCutoff]), 0.4344671201814059);
        EXPECT_NEAR(highWord(c[kA0]), e.a0, 1e-6);
        EXPECT_NEAR(highWord(c[kA1]), e.a1, 1e-5);
        EXPECT_NEAR(highWord(c[kB1]), e.b1, 1e-5);
        EXPECT_NEAR(highWord(c[kB2]), e.b2, 1e-6);
        EXPECT_NEAR(designedK(c), 4.78843, 1e-5);
        // a0 = a2 and a1 = 2 a0 exactly; only b2 carries a low word.
        EXPECT_EQ(highWord(c[kA2]), highWord(c[kA0]));
        EXPECT_EQ(highWord(c[kA1]), 2.0 * highWord(c[kA0]));
        for (int i : {kCutoff, kQ, kA0, kA1, kA2, kB1}) EXPECT_EQ(lowWord(c[i]), 0.0);
        EXPECT_NE(lowWord(c[kB2]), 0.0);
        // Unit gain at zero frequency, up to the last bits.
        const LongDouble one = widen(1.0);
        const LongDouble dcGain = (c[kA0] + c[kA1] + c[kA2]) / (one + c[kB1] + c[kB2]);
        EXPECT_NEAR(highWord(dcGain), 1.0, 1e-15);
    }
    EXPECT_EQ(highWord(s.lowpassB[kQ]), 1.1582298);
}

TEST(SectionDesign, ZeroAndNegativeFrameCallsRefreshOnlyTheDesign) {
    SignalState s = freshState();
    test::Stereo<float> signal(256);
    signal.processAll(s, 44100.0f, kDefaults, 256);
    for (std::int32_t frames : {0, -1, -1000}) {
        SignalState before = s;
        signal.outLeft.assign(256, 7.0f);
        signal.process(s, 88200.0f, kDefaults, 0, frames);
        EXPECT_EQ(highWord(s.lowpassC[kCutoff]), 0.21723356009070294);
        EXPECT_NEAR(designedK(s.lowpassC), 0.8127, 1e-4);
        EXPECT_EQ(s.fpdL, before.fpdL);
        EXPECT_EQ(s.fpdR, before.fpdR);
        // Everything but elements 0 to 6 of the sections stays as it was.
        LongDouble* const now[] = {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD};
        const LongDouble* const then[] = {before.lowpassA, before.lowpassB, before.lowpassC,
                                          before.lowpassD};
        for (int k = 0; k < 4; ++k) {
            for (int i = kCutoff; i <= kB2; ++i) now[k][i] = then[k][i];
        }
        EXPECT_TRUE(test::sameBits(s, before)) << frames;
        EXPECT_EQ(signal.outLeft[0], 7.0f);
    }
}

}  // namespace
}  // namespace tovrel::dsp
