// Whole processing calls: the shapes hosts call in and their floating-point modes, both
// precisions sharing one state, and what hosts should not send: bad samples, bad parameter
// values, unusable sample rates. After those the instance recovers and the output stays bounded.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "test_support.h"
#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace tovrel::dsp::test {
namespace {

// The thread's floating-point mode: on x86 the MXCSR, elsewhere the rounding. `flush` first
// switches to what hosts like for audio: towards zero, on x86 also flush-to-zero and
// denormals-are-zero.
unsigned fpMode(bool flush = false) {
    if (flush) std::fesetround(FE_TOWARDZERO);
#if defined(__SSE2__)
    if (flush) _mm_setcsr(_mm_getcsr() | 0x8040u);
    return _mm_getcsr();
#else
    return static_cast<unsigned>(std::fegetround());
#endif
}

// One call over more frames than any announced block, with separate buffers, is the reference.
// Pieces of any size (64 + 64 first) with the same buffers for input and output, and a host's
// flushing mode, change no bit of output or state, and the host gets its mode back. Near 1e-300
// the low words and the dither are subnormal, so flushing would show.
template <typename Sample>
void expectCallShapesAgree(double tiny) {
    for (double amplitude : {1.0, tiny}) {
        for (const ParameterSnapshot& p : {kDefaults, kEverythingOn}) {
            Stereo<Sample> whole(4096, amplitude), shared(4096, amplitude), hosted(4096, amplitude);
            SignalState a = freshState(), b = a, c = a;
            whole.processAll(a, 44100.0f, p, 4096);
            shared.out[0] = shared.in[0], shared.out[1] = shared.in[1];
            std::size_t at = 0;
            for (std::int32_t n : {64, 64, 1, 371, 1000, 2596}) {
                shared.process(b, 44100.0f, p, at, n), at += static_cast<std::size_t>(n);
            }
            std::fenv_t host;
            std::fegetenv(&host);
            const unsigned flushing = fpMode(true);
            hosted.processAll(c, 44100.0f, p, 512);
            EXPECT_EQ(fpMode(), flushing);
            std::fesetenv(&host);
            EXPECT_TRUE(whole.outputsEqual(shared) && sameBits(a, b)) << amplitude;
            EXPECT_TRUE(whole.outputsEqual(hosted) && sameBits(a, c)) << amplitude;
        }
    }
}

TEST(Processing, CallShapesAndHostModesMakeNoDifference) {
    expectCallShapesAgree<float>(1e-30);
    expectCallShapesAgree<double>(1e-300);
}

// On the same inputs, none near the tiny thresholds, the precisions differ only in their dither
// and written word: both leave the same filter and noise states, so a host may switch between
// calls.
TEST(Processing, PrecisionsShareOneState) {
    for (float rate : {44100.0f, 96000.0f}) {
        Stereo<float> single(8192);
        Stereo<double> twice(8192);
        std::copy(single.left.begin(), single.left.end(), twice.left.begin());
        std::copy(single.right.begin(), single.right.end(), twice.right.begin());
        SignalState a = freshState(), b = a, mixed = a;
        single.processAll(a, rate, kEverythingOn, 512);
        twice.processAll(b, rate, kEverythingOn, 512);
        single.process(mixed, rate, kEverythingOn, 0, 4096);
        twice.process(mixed, rate, kEverythingOn, 4096, 4096);
        EXPECT_TRUE(sameBits(a, b) && sameBits(a, mixed)) << rate;
    }
}

// Renders the buffers in blocks of 512 frames with `during` in force for the second block, and
// tells whether every output from frame `first` on lies below `bound` (NaN does not).
template <typename Sample>
bool bounded(Stereo<Sample>& s, float rate, const ParameterSnapshot& p,
             const ParameterSnapshot& during, std::size_t first, double bound = INFINITY) {
    SignalState state = freshState();
    for (std::size_t at = 0; at < s.left.size(); at += 512) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(512, s.left.size() - at));
        s.process(state, rate, at == 512 ? during : p, at, n);
    }
    for (std::size_t i = first; i < s.left.size(); ++i) {
        if (!(std::fabs(s.outLeft[i]) < bound && std::fabs(s.outRight[i]) < bound)) return false;
    }
    return true;
}

// A bad sample or bad parameter values in the second block; the third must be finite again.
template <typename Sample>
bool recovers(const ParameterSnapshot& p, const ParameterSnapshot& during, double bad) {
    Stereo<Sample> s(3 * 512);
    s.left[612] = s.right[1023] = static_cast<Sample>(bad);
    return bounded(s, 44100.0f, p, during, 1024);
}

TEST(Robustness, RecoversFromBadSamplesAndParameters) {
    for (const ParameterSnapshot& p : {kDefaults, kEverythingOn}) {
        for (double bad : {double{NAN}, double{INFINITY}, -double{INFINITY}, 3e38}) {
            EXPECT_TRUE(recovers<float>(p, p, bad) && recovers<double>(p, p, bad)) << bad;
        }
        for (double bad : {1e308, -1.7e308}) EXPECT_TRUE(recovers<double>(p, p, bad)) << bad;
        for (auto field : {&ParameterSnapshot::trim, &ParameterSnapshot::hi, &ParameterSnapshot::lo,
                           &ParameterSnapshot::gain, &ParameterSnapshot::dryWet}) {
            for (float bad : {NAN, INFINITY, -INFINITY}) {
                ParameterSnapshot during = p;
                during.*field = bad;
                EXPECT_TRUE(recovers<double>(p, during, 0.5)) << bad;
            }
        }
    }
}

// Up to 2^64 in magnitude with parameters in 0 to 1, and with negative Hi and Lo, nothing
// overflows. Ten seconds of full-scale noise at rates where the 19160 Hz corner cannot be
// reached stay bounded; a second at the limit itself and at rates that make no sense too.
TEST(Robustness, HugeInputsAndLowRatesStayBounded) {
    const ParameterSnapshot settings[] = {
        {1, 1, 1, 1, 0.5f}, {1, 0, 1, 0, 0}, {1, 1, 0, 1, 1}, {0.3f, -0.7f, -0.3f, 0.8f, 0.6f}};
    for (const ParameterSnapshot& p : settings) {
        Stereo<double> s(4096, 0x1p64);
        Stereo<float> f(4096, 0x1p64);
        s.left[10] = f.left[10] = 0x1p64, s.left[11] = f.left[11] = -0x1p64;
        EXPECT_TRUE(bounded(s, 44100, p, p, 0) && bounded(f, 192000, p, p, 0)) << p.hi;
    }
    for (float rate :
         {8000.0f, 11025.0f, 22050.0f, 32000.0f, 38320.0f, 0.0f, -44100.0f, INFINITY, NAN}) {
        const bool low = rate > 0 && rate < 38000;  // NaN is not
        Stereo<float> s(low ? 10 * static_cast<std::size_t>(rate) : 44100, 1.0, 7);
        EXPECT_TRUE(bounded(s, rate, kEverythingOn, kEverythingOn, 0, 4.0)) << rate;
    }
}

}  // namespace
}  // namespace tovrel::dsp::test
