// Bad input, bad parameters and unusable sample rates: the instance recovers, and what the
// signal path was never meant to see stays bounded.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::freshState;
using test::kEverythingOn;
using test::Stereo;

constexpr double kInf = std::numeric_limits<double>::infinity();

template <typename Sample>
bool allFinite(const Stereo<Sample>& s, std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i) {
        if (!std::isfinite(s.outLeft[i]) || !std::isfinite(s.outRight[i])) return false;
    }
    return true;
}

// A bad sample in the second block; the third block must be finite again.
template <typename Sample>
void expectRecoveryFromSample(double bad) {
    for (const ParameterSnapshot& p : {test::kDefaults, kEverythingOn}) {
        Stereo<Sample> s(3 * 512);
        s.left[512 + 100] = static_cast<Sample>(bad);
        s.right[512 + 511] = static_cast<Sample>(bad);
        SignalState state = freshState();
        s.processAll(state, 44100.0f, p, 512);
        EXPECT_TRUE(allFinite(s, 1024, 1536)) << bad;
    }
}

TEST(Robustness, RecoversFromNonFiniteAndAbsurdSamples) {
    for (double bad : {std::nan(""), kInf, -kInf, 3e38}) expectRecoveryFromSample<float>(bad);
    for (double bad : {std::nan(""), kInf, -kInf, 1e308, -1.7e308}) {
        expectRecoveryFromSample<double>(bad);
    }
}

TEST(Robustness, RecoversFromNonFiniteParameters) {
    const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
    for (int index = 0; index < 5; ++index) {
        for (float bad : {nan, inf, -inf}) {
            ParameterSnapshot p = kEverythingOn;
            (&p.A)[index] = bad;
            Stereo<double> s(3 * 512);
            SignalState state = freshState();
            s.process(state, 44100.0f, kEverythingOn, 0, 512);
            s.process(state, 44100.0f, p, 512, 512);
            s.process(state, 44100.0f, kEverythingOn, 1024, 512);
            EXPECT_TRUE(allFinite(s, 1024, 1536)) << index << " " << bad;
        }
    }
}

// Up to 2^64 in magnitude with parameters in 0 to 1, nothing overflows.
TEST(Robustness, HugeInputsStayFinite) {
    const ParameterSnapshot extremes[] = {{1, 1, 1, 1, 0.5f}, {1, 0, 1, 0, 0}, {1, 1, 0, 1, 1}};
    for (const ParameterSnapshot& p : extremes) {
        Stereo<double> s(4096, 0x1p64);
        s.left[10] = 0x1p64, s.left[11] = -0x1p64, s.right[3] = -0x1p64;
        Stereo<float> f(4096, 0x1p64);
        SignalState a = freshState(), b = freshState();
        s.processAll(a, 44100.0f, p, 512);
        f.processAll(b, 192000.0f, p, 512);
        EXPECT_TRUE(allFinite(s, 0, 4096));
        EXPECT_TRUE(allFinite(f, 0, 4096));
    }
}

TEST(Robustness, NegativeHiAndLoSoundFinite) {
    Stereo<float> s(2048);
    SignalState state = freshState();
    s.processAll(state, 44100.0f, {0.3f, -0.7f, -0.3f, 0.8f, 0.6f}, 512);
    EXPECT_TRUE(allFinite(s, 0, 2048));
}

// Ten seconds of full-scale noise at rates where the 19160 Hz corner cannot be reached; a
// second at the limit itself and at rates that make no sense.
TEST(Robustness, LowAndImpossibleRatesStayBounded) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate :
         {8000.0f, 11025.0f, 22050.0f, 32000.0f, 38320.0f, 0.0f, -44100.0f, inf, std::nanf("")}) {
        const std::size_t frames =
            rate > 0 && rate < 38000 ? 10 * static_cast<std::size_t>(rate) : 44100;
        Stereo<float> s(frames, 1.0, 7);
        SignalState state = freshState();
        s.processAll(state, rate, kEverythingOn, 512);
        std::size_t outOfBounds = 0;  // NaN included
        for (std::size_t i = 0; i < frames; ++i) {
            outOfBounds += !(std::fabs(s.outLeft[i]) < 4.0) + !(std::fabs(s.outRight[i]) < 4.0);
        }
        EXPECT_EQ(outOfBounds, 0u) << rate;
    }
}

}  // namespace
}  // namespace tovrel::dsp
