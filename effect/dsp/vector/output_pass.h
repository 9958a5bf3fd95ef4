// The output stage of both channels over a chunk whose chain outputs are in the workspace:
// gain, dry/wet mix, dither and the written words. A frame that meets a special case (a word
// beyond the ordinary exponent range or a non-finite result) is handed to the scalar stage.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/block_values.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/vector/kernel.h"
#include "effect/dsp/vector/lanes.h"

namespace tovrel::dsp::vector {
namespace {

// Both noise states in the two low 32-bit lanes.
inline __m128i advanceNoise(__m128i fpd) {
    fpd = _mm_xor_si128(fpd, _mm_slli_epi32(fpd, 13));
    fpd = _mm_xor_si128(fpd, _mm_srli_epi32(fpd, 17));
    return _mm_xor_si128(fpd, _mm_slli_epi32(fpd, 5));
}

// The unsigned noise words as doubles, exactly: flipping the top bit makes them signed and
// 2^31 away from their value.
inline __m128d noiseValues(__m128i fpd) {
    const __m128i flipped = _mm_xor_si128(fpd, _mm_set1_epi32(INT32_MIN));
    return _mm_add_pd(_mm_cvtepi32_pd(flipped), _mm_set1_pd(2147483648.0));
}

// 2^(e + 62) for the exponent e frexp gives the written word, straight from the exponent field;
// zeros, subnormals, infinities, NaNs and words whose power would not be a normal double are
// flagged instead.
template <typename Sample>
__m128d ditherPower(__m128d high, __m128d& flags);

template <>
__m128d ditherPower<float>(__m128d high, __m128d& flags) {
    const __m128i word = _mm_castps_si128(_mm_cvtpd_ps(high));
    const __m128i field =
        _mm_cvtepu32_epi64(_mm_and_si128(_mm_srli_epi32(word, 23), _mm_set1_epi32(0xff)));
    const __m128i special = _mm_or_si128(_mm_cmpeq_epi64(field, _mm_setzero_si128()),
                                         _mm_cmpeq_epi64(field, _mm_set1_epi64x(0xff)));
    flags = _mm_or_pd(flags, _mm_castsi128_pd(special));
    // frexpf gives field - 126; the power's biased exponent is then field - 126 + 62 + 1023.
    return _mm_castsi128_pd(_mm_slli_epi64(_mm_add_epi64(field, _mm_set1_epi64x(959)), 52));
}

template <>
__m128d ditherPower<double>(__m128d high, __m128d& flags) {
    const __m128i field =
        _mm_and_si128(_mm_srli_epi64(_mm_castpd_si128(high), 52), _mm_set1_epi64x(0x7ff));
    // Beyond 1983 the power would reach 2^1024, an infinity.
    const __m128i special = _mm_or_si128(_mm_cmpeq_epi64(field, _mm_setzero_si128()),
                                         _mm_cmpgt_epi64(field, _mm_set1_epi64x(1983)));
    flags = _mm_or_pd(flags, _mm_castsi128_pd(special));
    // frexp gives field - 1022; the power's biased exponent is then field - 1022 + 62 + 1023.
    return _mm_castsi128_pd(_mm_slli_epi64(_mm_add_epi64(field, _mm_set1_epi64x(63)), 52));
}

inline void store(float* const outputs[2], int frame, __m128d high) {
    const __m128 narrow = _mm_cvtpd_ps(high);
    _mm_store_ss(&outputs[0][frame], narrow);
    _mm_store_ss(&outputs[1][frame], _mm_shuffle_ps(narrow, narrow, 1));
}

inline void store(double* const outputs[2], int frame, __m128d high) {
    _mm_storel_pd(&outputs[0][frame], high);
    _mm_storeh_pd(&outputs[1][frame], high);
}

template <typename Sample>
struct OutputPass {
    const BlockValues& v;
    const Workspace& workspace;
    const Sample* const* inputs;
    Sample* const* outputs;

    // The dither's noise scale, 5.5e-36 or 1.1e-44 held to full long double precision.
    static Lanes2 noiseScale() {
        if (sizeof(Sample) == sizeof(float))
            return {_mm_set1_pd(5.5e-36), _mm_set1_pd(1.5724085468671158e-52)};
        return {_mm_set1_pd(1.1e-44), _mm_set1_pd(-6.030340873727346e-61)};
    }

    Lanes2 dry(int frame, __m128i fpd) const {
        const double threshold = sizeof(Sample) == sizeof(float) ? 1.18e-37 : 1.18e-43;
        const __m128d x = _mm_set_pd(static_cast<double>(inputs[1][frame]),
                                     static_cast<double>(inputs[0][frame]));
        const __m128d noise = _mm_mul_pd(noiseValues(fpd), _mm_set1_pd(threshold));
        const __m128d tiny = _mm_cmp_pd(magnitude(x), _mm_set1_pd(threshold), _CMP_LT_OQ);
        return widenLanes(_mm_blendv_pd(x, noise, tiny));
    }

    // One frame; answers false, writing nothing, where the scalar stage must take it.
    bool frame(int i, __m128i fpd, __m128i next) const {
        __m128d flags = _mm_setzero_pd();
        Lanes2 wet{_mm_load_pd(&workspace.wet[i][0]), _mm_load_pd(&workspace.wet[i][2])};
        if (v.outputGain != 1.0) wet = multiplyBy(wet, _mm_set1_pd(v.outputGain));
        if (v.wetMix != 1.0) {
            // With the mix's low word zero, either operand order gives the same product.
            const Lanes2 mixed = multiplyBy(wet, _mm_set1_pd(v.wetMix));
            wet = add(mixed, multiplyBy(dry(i, fpd), _mm_set1_pd(1.0 - v.wetMix)));
        }
        const __m128d power = ditherPower<Sample>(wet.hi, flags);
        const __m128d centred = _mm_sub_pd(noiseValues(next), _mm_set1_pd(2147483647.0));
        const Lanes2 noise = multiplyBy(multiplyBy(noiseScale(), centred), power);
        const Lanes2 written = add(noise, wet);
        // A departure from the runtime's arithmetic would leave the written word non-finite.
        flags = _mm_or_pd(flags, nonFinite(written.hi));
        if (_mm_movemask_pd(flags) != 0) return false;
        store(outputs, i, written.hi);
        return true;
    }

    // Frames from `first` on, up to one the scalar stage must take; answers where it stopped.
    int runVector(int first, int frames, __m128i& fpd) const {
        int i = first;
        for (; i < frames; ++i) {
            const __m128i next = advanceNoise(fpd);
            if (!frame(i, fpd, next)) break;
            fpd = next;
        }
        return i;
    }

    void run(SignalState& s, int frames) const {
        __m128i fpd = noiseOf(s);
        for (int i = runVector(0, frames, fpd); i < frames; i = runVector(i + 1, frames, fpd)) {
            keepNoise(s, fpd);
            finishFrameExactly(s, v, workspace, i, inputs, outputs);
            fpd = noiseOf(s);
        }
        keepNoise(s, fpd);
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
