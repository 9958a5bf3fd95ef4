// The output stage of both channels over a chunk whose chain outputs are in the workspace:
// gain, dry/wet mix, dither and the written words, two frames at a time in four lanes (frame i's
// left and right, then frame i + 1's). It stops at a frame that meets a special case (a word
// beyond the ordinary exponent range or a non-finite result), which the scalar stage must take.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/dither.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/vector/lane_blocks.h"
#include "effect/dsp/vector/lanes.h"
#include "effect/dsp/vector/output_words.h"

namespace tovrel::dsp::vector {
namespace {

// The noise states of the frames in the lanes: both channels' for one frame in 32-bit lanes
// 0 and 1, and for two frames also the next frame's in lanes 2 and 3.
inline __m128i advanceNoiseLanes(__m128i fpd) {
    fpd = _mm_xor_si128(fpd, _mm_slli_epi32(fpd, kNoiseShiftUp));
    fpd = _mm_xor_si128(fpd, _mm_srli_epi32(fpd, kNoiseShiftDown));
    return _mm_xor_si128(fpd, _mm_slli_epi32(fpd, kNoiseShiftUpAgain));
}

template <typename Sample>
struct OutputPass {
    const BlockValues& v;
    const Workspace& workspace;
    const Sample* const* inputs;
    Sample* const* outputs;

    using Path = PathOf<Sample>;

    // The dither's noise scale, held to full long double precision.
    template <typename V>
    static Lanes<V> noiseScale() {
        return {splat<V>(Path::kNoiseHigh), splat<V>(Path::kNoiseLow)};
    }

    // The frames in the lanes of V, from frame i on; fpd holds their noise states before this
    // frame's dither and next after it. Answers false, writing nothing, where the scalar stage
    // must take one of them.
    template <typename V>
    bool frames(int i, __m128i fpd, __m128i next) const {
        V flags = splat<V>(0.0);
        Lanes<V> wet = loadWet<V>(workspace, i);
        if (v.gain != 1.0) wet = multiplyBy(wet, splat<V>(v.gain));
        if (v.dryWet != 1.0) {
            // With the mix's low word zero, either operand order gives the same product.
            const Lanes<V> mixed = multiplyBy(wet, splat<V>(v.dryWet));
            // The dry samples as the chain saw them, with this frame's noise state.
            const Lanes<V> dryPart =
                substituteTinyInput<Sample>(loadInputs<V>(inputs, i), noiseValues<V>(fpd));
            wet = add(mixed, multiplyBy(dryPart, splat<V>(1.0 - v.dryWet)));
        }
        const V power = ditherPower<Sample>(wet.hi, flags);
        const V centred = vSub(noiseValues<V>(next), splat<V>(kNoiseCentre));
        const Lanes<V> noise = multiplyBy(multiplyBy(noiseScale<V>(), centred), power);
        const Lanes<V> written = add(noise, wet);
        // A departure from the runtime's arithmetic would leave the written word non-finite.
        flags = vOr(flags, nonFinite(written.hi));
        if (anySet(flags) != 0) return false;
        storeOutputs(outputs, i, written.hi);
        return true;
    }

    // Frames from `first` on, up to one the scalar stage must take; answers where it stopped.
    int runVector(int first, int count, __m128i& fpd) const {
        int i = first;
        while (i < count) {
            const __m128i next = advanceNoiseLanes(fpd);
            if (i + 1 < count) {
                // Frame i + 1 starts from frame i's next state.
                const __m128i both = _mm_unpacklo_epi64(fpd, next);
                const __m128i after = advanceNoiseLanes(both);
                if (frames<__m256d>(i, both, after)) {
                    fpd = _mm_unpackhi_epi64(after, after);
                    i += 2;
                    continue;
                }
            }
            if (!frames<__m128d>(i, fpd, next)) break;
            fpd = next;
            ++i;
        }
        return i;
    }

    // Frames from `first` on; answers the first one left for the scalar stage, or `count`.
    int run(SignalState& s, int first, int count) const {
        __m128i fpd = noiseOf(s);
        const int stopped = runVector(first, count, fpd);
        keepNoise(s, fpd);
        return stopped;
    }

    static __m128i noiseOf(const SignalState& s) {
        return _mm_set_epi32(0, 0, static_cast<int>(s.fpdR), static_cast<int>(s.fpdL));
    }
    static void keepNoise(SignalState& s, __m128i fpd) {
        s.fpdL = static_cast<std::uint32_t>(_mm_cvtsi128_si32(fpd));
        s.fpdR = static_cast<std::uint32_t>(_mm_extract_epi32(fpd, 1));
    }
};

}  // namespace
}  // namespace tovrel::dsp::vector
