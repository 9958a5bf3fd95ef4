// Moving the output stage's words in and out of two lanes (one frame, both channels) or four
// (two frames), and the dither's exponent arithmetic on them.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/vector/lanes.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp::vector {
namespace {

template <typename V>
Lanes<V> loadWet(const Workspace& w, int i);
template <>
inline Lanes2 loadWet<__m128d>(const Workspace& w, int i) {
    return {_mm_load_pd(w.wetHigh[i]), _mm_load_pd(w.wetLow[i])};
}
template <>
inline Lanes4 loadWet<__m256d>(const Workspace& w, int i) {
    return {_mm256_loadu_pd(w.wetHigh[i]), _mm256_loadu_pd(w.wetLow[i])};
}

template <typename V, typename Sample>
V loadInputs(const Sample* const* in, int i) {
    if constexpr (sizeof(V) == sizeof(__m128d)) {
        return _mm_set_pd(static_cast<double>(in[1][i]), static_cast<double>(in[0][i]));
    } else {
        return _mm256_set_pd(static_cast<double>(in[1][i + 1]), static_cast<double>(in[0][i + 1]),
                             static_cast<double>(in[1][i]), static_cast<double>(in[0][i]));
    }
}

// The unsigned noise words as doubles, exactly: flipping the top bit makes them signed and
// 2^31 away from their value.
template <typename V>
V noiseValues(__m128i fpd) {
    const __m128i flipped = _mm_xor_si128(fpd, _mm_set1_epi32(INT32_MIN));
    if constexpr (sizeof(V) == sizeof(__m128d)) {
        return _mm_add_pd(_mm_cvtepi32_pd(flipped), _mm_set1_pd(2147483648.0));
    } else {
        return _mm256_add_pd(_mm256_cvtepi32_pd(flipped), _mm256_set1_pd(2147483648.0));
    }
}

// The exponent fields of the written words, one per 64-bit lane.
inline __m128i exponentFields(__m128d high, float) {
    const __m128i word = _mm_castps_si128(_mm_cvtpd_ps(high));
    return _mm_cvtepu32_epi64(_mm_and_si128(_mm_srli_epi32(word, 23), _mm_set1_epi32(0xff)));
}
inline __m256i exponentFields(__m256d high, float) {
    const __m128i word = _mm_castps_si128(_mm256_cvtpd_ps(high));
    return _mm256_cvtepu32_epi64(_mm_and_si128(_mm_srli_epi32(word, 23), _mm_set1_epi32(0xff)));
}
inline __m128i exponentFields(__m128d high, double) {
    return _mm_and_si128(_mm_srli_epi64(_mm_castpd_si128(high), 52), _mm_set1_epi64x(0x7ff));
}
inline __m256i exponentFields(__m256d high, double) {
    return _mm256_and_si256(_mm256_srli_epi64(_mm256_castpd_si256(high), 52),
                            _mm256_set1_epi64x(0x7ff));
}

inline __m128i equal64(__m128i a, std::int64_t b) {
    return _mm_cmpeq_epi64(a, _mm_set1_epi64x(b));
}
inline __m256i equal64(__m256i a, std::int64_t b) {
    return _mm256_cmpeq_epi64(a, _mm256_set1_epi64x(b));
}
inline __m128i above64(__m128i a, std::int64_t b) {
    return _mm_cmpgt_epi64(a, _mm_set1_epi64x(b));
}
inline __m256i above64(__m256i a, std::int64_t b) {
    return _mm256_cmpgt_epi64(a, _mm256_set1_epi64x(b));
}
inline __m128d asDouble(__m128i x) {
    return _mm_castsi128_pd(x);
}
inline __m256d asDouble(__m256i x) {
    return _mm256_castsi256_pd(x);
}
// 2^(field + bias - 1023) for normal results.
inline __m128i powerFromField(__m128i field, std::int64_t bias) {
    return _mm_slli_epi64(_mm_add_epi64(field, _mm_set1_epi64x(bias)), 52);
}
inline __m256i powerFromField(__m256i field, std::int64_t bias) {
    return _mm256_slli_epi64(_mm256_add_epi64(field, _mm256_set1_epi64x(bias)), 52);
}

// 2^(e + 62) for the exponent e frexp gives the written word, straight from the exponent field;
// zeros, subnormals, infinities, NaNs and words whose power would not be a normal double are
// flagged instead.
template <typename Sample, typename V>
V ditherPower(V high, V& flags) {
    const auto field = exponentFields(high, Sample{});
    if constexpr (sizeof(Sample) == sizeof(float)) {
        flags = vOr(flags, asDouble(equal64(field, 0) | equal64(field, 0xff)));
        // frexpf gives field - 126; the power's biased exponent is field - 126 + 62 + 1023.
        return asDouble(powerFromField(field, 959));
    } else {
        // Beyond 1983 the power would reach 2^1024, an infinity.
        flags = vOr(flags, asDouble(equal64(field, 0) | above64(field, 1983)));
        // frexp gives field - 1022; the power's biased exponent is field - 1022 + 62 + 1023.
        return asDouble(powerFromField(field, 63));
    }
}

// Frame i's left and right words, then frame i + 1's.
inline void storeOutputs(float* const* out, int i, __m128d high) {
    const __m128 narrow = _mm_cvtpd_ps(high);
    _mm_store_ss(&out[0][i], narrow);
    _mm_store_ss(&out[1][i], _mm_movehdup_ps(narrow));
}
inline void storeOutputs(float* const* out, int i, __m256d high) {
    const __m128 narrow = _mm256_cvtpd_ps(high);
    _mm_store_ss(&out[0][i], narrow);
    _mm_store_ss(&out[1][i], _mm_movehdup_ps(narrow));
    _mm_store_ss(&out[0][i + 1], _mm_movehl_ps(narrow, narrow));
    _mm_store_ss(&out[1][i + 1], _mm_shuffle_ps(narrow, narrow, 3));
}
inline void storeOutputs(double* const* out, int i, __m128d high) {
    _mm_storel_pd(&out[0][i], high);
    _mm_storeh_pd(&out[1][i], high);
}
inline void storeOutputs(double* const* out, int i, __m256d high) {
    storeOutputs(out, i, _mm256_castpd256_pd128(high));
    storeOutputs(out, i + 1, _mm256_extractf128_pd(high, 1));
}

}  // namespace
}  // namespace tovrel::dsp::vector
