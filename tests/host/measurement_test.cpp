// The measurement library against fake plug-ins whose answers are known exactly: a gain, a
// delay of one sample on the left and two on the right, and a hard clipper.
#include <gtest/gtest.h>

#include <cmath>

#include "host/measurement/frequency_response.h"
#include "host/measurement/harmonics.h"
#include "host/measurement/level.h"
#include "host/measurement/transfer_curve.h"
#include "host/parameter_lookup.h"

namespace tovrel::measurement {
namespace {

constexpr int kRate = 44100;
const double kHalfDb = 20.0 * std::log10(0.5);  // -6.0206 dB: a gain of one half

InstanceFactory factoryFor(const char* path, float gain = 0.5f) {
    return [path, gain] {
        auto plugin = Plugin::open(path);
        plugin->setParameter(0, gain);  // the fakes' gain is twice this
        return plugin;
    };
}

ProbeSetup setup(Precision precision = Precision::Single) {
    return {kRate, precision, 512};
}

TEST(MeasurementTest, ShownBinsRunLogSpacedFromTenHertzToNyquist) {
    const std::size_t frames = responseFrames(kRate);
    EXPECT_EQ(frames, 65536u);
    EXPECT_EQ(responseFrames(48000), 65536u);
    EXPECT_EQ(responseFrames(96000), 131072u);
    const std::vector<std::size_t> bins = responseBins(frames, kRate, 96);
    const double spacing = double(kRate) / frames;
    EXPECT_NEAR(bins.front() * spacing, kLowestFrequency, spacing / 2);
    EXPECT_EQ(bins.back(), frames / 2);
    for (std::size_t i = 1; i < bins.size(); ++i) ASSERT_GT(bins[i], bins[i - 1]);
    // Above the lowest bins, where several steps share one bin, the spacing is even in log.
    EXPECT_GT(bins.size(), 250u);
    EXPECT_LT(bins.size(), 320u);
}

TEST(MeasurementTest, PhaseWrapsIntoOneTurnOpenBelow) {
    const std::pair<double, double> cases[] = {{0, 0},         {180, 180},  {-180, 180},
                                               {190, -170},    {-190, 170}, {540, 180},
                                               {-720.5, -0.5}, {359, -1},   {1e4, 280 - 360}};
    for (const auto& [in, out] : cases) EXPECT_NEAR(wrapDegrees(in), out, 1e-9) << in;
}

TEST(MeasurementTest, GainReadsFlatInDecibelsWithZeroPhaseInBothPrecisions) {
    for (const Precision precision : {Precision::Single, Precision::Double}) {
        const FrequencyResponse response =
            measureResponse(factoryFor(FAKE_CLIPPER, 0.25f), setup(precision), {-40.0, 96});
        EXPECT_EQ(response.frames, 65536u);
        ASSERT_EQ(response.channels.size(), 2u);
        EXPECT_FALSE(response.channelsDiffer);
        for (const ChannelResponse& channel : response.channels) {
            for (const ResponsePoint& point : channel.points) {
                ASSERT_NEAR(point.magnitudeDb, kHalfDb, 1e-5) << point.frequency;
                ASSERT_NEAR(point.phaseDegrees, 0.0, 1e-9) << point.frequency;
            }
        }
    }
}

TEST(MeasurementTest, DelaysGiveLinearPhaseAtTheExactBinFrequenciesAndWrap) {
    const FrequencyResponse response =
        measureResponse(factoryFor(FAKE_DELAY), setup(Precision::Double));
    ASSERT_EQ(response.channels.size(), 2u);
    EXPECT_TRUE(response.channelsDiffer);
    int wrapped = 0;
    for (int channel = 0; channel < 2; ++channel) {
        const double delay = channel + 1;
        for (const ResponsePoint& point : response.channels[channel].points) {
            const double expected = -360.0 * point.frequency * delay / kRate;
            // A bin off by one is 0.0055 degrees per sample of delay away from this.
            ASSERT_NEAR(point.phaseDegrees, wrapDegrees(expected), 1e-6) << point.frequency;
            ASSERT_GT(point.phaseDegrees, -180.0);
            ASSERT_LE(point.phaseDegrees, 180.0);
            ASSERT_NEAR(point.magnitudeDb, 0.0, 1e-9);
            wrapped += expected < -180.0;
        }
    }
    EXPECT_GT(wrapped, 10);  // the two-sample delay really passes -180 degrees
}

TEST(MeasurementTest, ClipperTransferFollowsUnityThenHoldsAtItsCeiling) {
    const std::vector<TransferPoint> curve = measureTransfer(factoryFor(FAKE_CLIPPER), setup());
    ASSERT_EQ(curve.size(), 67u);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const TransferPoint& point = curve[i];
        EXPECT_DOUBLE_EQ(point.inputDb, -60.0 + double(i));
        // The sampled peak of a 1 kHz sine at 44.1 kHz lies within 0.0003 dB of the true one.
        const double expected = std::min(point.inputDb, kHalfDb);
        EXPECT_NEAR(point.outputDb, expected, 3e-4) << point.inputDb;
    }
    EXPECT_NEAR(curve.back().outputDb, kHalfDb, 1e-6);  // full-scale +6 dBFS, clipped to 0.5
}

// Peak amplitude of harmonic n of a sine of peak a clipped at +-t (n odd), from its Fourier
// series over a quarter period, where the sine meets the ceiling at angle c.
double clippedHarmonic(double a, double t, int n) {
    const double c = std::asin(t / a);
    if (n == 1) return 4.0 / M_PI * (a * 0.5 * (c - std::sin(2 * c) / 2) + t * std::cos(c));
    return 4.0 / M_PI *
           (a * 0.5 * (std::sin((n - 1) * c) / (n - 1) - std::sin((n + 1) * c) / (n + 1)) +
            t * std::cos(n * c) / n);
}

TEST(MeasurementTest, ClipperAddsTheOddHarmonicsOfAClippedSineAndNoEvenOnes) {
    const double level = 6.0, a = amplitudeOfDb(level), t = 0.5;
    const Harmonics result =
        measureHarmonics(factoryFor(FAKE_CLIPPER), setup(Precision::Double), {level, 0.5, 200});
    ASSERT_EQ(result.channels.size(), 2u);
    const ChannelHarmonics& left = result.channels[0];
    ASSERT_EQ(left.harmonics.size(), 10u);
    double squares = 0.0;
    for (const HarmonicLevel& h : left.harmonics) {
        EXPECT_EQ(h.frequency, 1000.0 * h.number);
        if (h.number % 2 == 0) {
            // Only aliases of the 441st harmonic and above reach even bins.
            EXPECT_LT(h.relativeDb, -100.0) << h.number;
            continue;
        }
        const double expected = clippedHarmonic(a, t, h.number);
        if (h.number > 1) squares += expected * expected;
        EXPECT_NEAR(h.levelDb, 20 * std::log10(expected), 3e-3) << h.number;
    }
    EXPECT_NEAR(left.thdPercent, 100 * std::sqrt(squares) / clippedHarmonic(a, t, 1), 1e-3);
    EXPECT_NEAR(left.thdDb, 20 * std::log10(left.thdPercent / 100), 1e-9);
    // The peak-held spectrum keeps each harmonic's level at its own frequency.
    for (const HarmonicLevel& h : left.harmonics) {
        bool found = false;
        for (const SpectrumPoint& point : left.spectrum) {
            if (point.frequency == h.frequency) found = point.levelDb == h.levelDb;
        }
        EXPECT_TRUE(found || h.number % 2 == 0) << h.number;
    }
}

TEST(MeasurementTest, CleanGainHasItsFundamentalAtTheLevelAndNoDistortion) {
    const Harmonics result = measureHarmonics(factoryFor(FAKE_CLIPPER, 0.25f), setup());
    EXPECT_EQ(result.levelDb, -6.0);
    const ChannelHarmonics& right = result.channels[1];
    EXPECT_NEAR(right.harmonics[0].levelDb, -6.0 + kHalfDb, 1e-4);
    EXPECT_LT(right.thdDb, -100.0);
    EXPECT_EQ(right.spectrum.front().frequency, 10.0);
    EXPECT_GT(right.spectrum.back().frequency, 0.95 * kRate / 2);
    EXPECT_LE(right.spectrum.back().frequency, kRate / 2.0);
}

}  // namespace
}  // namespace tovrel::measurement
