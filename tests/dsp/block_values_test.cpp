// Per-block values: the numbers the design states, and the low-rate and parameter mends.
#include "effect/dsp/block_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::kDefaults;

TEST(BlockValues, OnePoleCoefficientsScaleWithTheRate) {
    const BlockValues at44 = computeBlockValues(44100.0f, kDefaults);
    EXPECT_EQ(at44.rateScale, 1.0);
    EXPECT_EQ(at44.inHighpassCoeff, 0.001860867);
    EXPECT_EQ(at44.midHighpassCoeff, 0.000287496);
    EXPECT_EQ(at44.loBandCoeff, 0.159);
    EXPECT_EQ(at44.hiBandCoeff, 0.236);
    EXPECT_EQ(at44.cutoff, 0.4344671201814059);
    const BlockValues at88 = computeBlockValues(88200.0f, kDefaults);
    EXPECT_EQ(at88.rateScale, 2.0);
    EXPECT_EQ(at88.inHighpassCoeff, 0.001860867 / 2);
    EXPECT_EQ(at88.midHighpassCoeff, 0.000287496 / 2);
    EXPECT_EQ(at88.loBandCoeff, 0.159 / 2);
    EXPECT_EQ(at88.hiBandCoeff, 0.236 / 2);
    EXPECT_EQ(at88.cutoff, 0.21723356009070294);
}

TEST(BlockValues, ParameterDerivedValues) {
    const BlockValues d = computeBlockValues(44100.0f, kDefaults);
    EXPECT_EQ(d.inputTrim, 1.0000000298023226);  // the float 0.1 lies above 0.1
    EXPECT_EQ(d.hiDrive, 1.0);
    EXPECT_EQ(d.loDrive, 1.0);
    EXPECT_EQ(d.hiLevel, 0.7071067811865476);
    EXPECT_EQ(d.loLevel, 0.7071067811865476);
    EXPECT_EQ(d.outputGain, 1.0);
    EXPECT_EQ(d.wetMix, 1.0);
    const BlockValues e = computeBlockValues(44100.0f, {0.0f, 1.0f, 0.0f, 0.25f, 0.0f});
    EXPECT_EQ(e.inputTrim, 0.0);
    EXPECT_EQ(e.hiDrive, 4.0);
    EXPECT_EQ(e.hiLevel, 1.0);
    EXPECT_EQ(e.loLevel, 0.0);
    EXPECT_EQ(e.outputGain, 0.25);
    EXPECT_EQ(e.wetMix, 0.0);
}

TEST(BlockValues, NegativeHiOrLoAddsNothingInsteadOfNaN) {
    const BlockValues v = computeBlockValues(44100.0f, {0.1f, -0.5f, -1.0f, 1.0f, 1.0f});
    EXPECT_EQ(v.hiLevel, 0.0);
    EXPECT_EQ(v.loLevel, 0.0);
    EXPECT_EQ(v.hiDrive, 1.0);
    EXPECT_EQ(v.loDrive, 4.0);
}

TEST(BlockValues, RatesAtOrBelow38320KeepTheFullRateDesign) {
    const BlockValues above = computeBlockValues(38320.5f, kDefaults);
    EXPECT_EQ(above.cutoff, 19160.0 / 38320.5);  // the formula holds above the limit
    for (float rate : {38320.0f, 32000.0f, 22050.0f, 11025.0f, 8000.0f, 1.0f, 1e-30f}) {
        const BlockValues v = computeBlockValues(rate, kDefaults);
        EXPECT_EQ(v.cutoff, 19160.0 / 44100.0) << rate;
        EXPECT_EQ(v.loBandCoeff, std::fmin(0.159 / v.rateScale, 1.0)) << rate;
        EXPECT_EQ(v.hiBandCoeff, std::fmin(0.236 / v.rateScale, 1.0)) << rate;
        EXPECT_LE(v.inHighpassCoeff, 1.0) << rate;
    }
    EXPECT_EQ(computeBlockValues(8000.0f, kDefaults).hiBandCoeff, 1.0);
}

TEST(BlockValues, ImpossibleRatesActAs44100) {
    const BlockValues reference = computeBlockValues(44100.0f, kDefaults);
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.0f, -0.0f, -48000.0f, -inf, inf, std::nanf("")}) {
        const BlockValues v = computeBlockValues(rate, kDefaults);
        EXPECT_EQ(std::memcmp(&v, &reference, sizeof v), 0) << rate;
    }
}

}  // namespace
}  // namespace tovrel::dsp
