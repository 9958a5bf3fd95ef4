// The few vector operations the kernel's arithmetic uses, for two lanes (one stage, both
// channels) and for four (two stages side by side), so that one template serves both widths.
#pragma once

#include <immintrin.h>

namespace tovrel::dsp::vector {
namespace {

#define TOVREL_LANES_OP(name, op2, op4)         \
    inline __m128d name(__m128d a, __m128d b) { \
        return op2(a, b);                       \
    }                                           \
    inline __m256d name(__m256d a, __m256d b) { \
        return op4(a, b);                       \
    }

TOVREL_LANES_OP(vAdd, _mm_add_pd, _mm256_add_pd)
TOVREL_LANES_OP(vSub, _mm_sub_pd, _mm256_sub_pd)
TOVREL_LANES_OP(vMul, _mm_mul_pd, _mm256_mul_pd)
TOVREL_LANES_OP(vAnd, _mm_and_pd, _mm256_and_pd)
TOVREL_LANES_OP(vAndNot, _mm_andnot_pd, _mm256_andnot_pd)
TOVREL_LANES_OP(vOr, _mm_or_pd, _mm256_or_pd)
TOVREL_LANES_OP(vXor, _mm_xor_pd, _mm256_xor_pd)

#undef TOVREL_LANES_OP

template <typename V>
V splat(double d);
template <>
inline __m128d splat<__m128d>(double d) {
    return _mm_set1_pd(d);
}
template <>
inline __m256d splat<__m256d>(double d) {
    return _mm256_set1_pd(d);
}

// a * b - c, rounded once.
inline __m128d vFmsub(__m128d a, __m128d b, __m128d c) {
    return _mm_fmsub_pd(a, b, c);
}
inline __m256d vFmsub(__m256d a, __m256d b, __m256d c) {
    return _mm256_fmsub_pd(a, b, c);
}

inline __m128d vFmadd(__m128d a, __m128d b, __m128d c) {
    return _mm_fmadd_pd(a, b, c);
}
inline __m256d vFmadd(__m256d a, __m256d b, __m256d c) {
    return _mm256_fmadd_pd(a, b, c);
}

// Where the mask is set, b; elsewhere a.
inline __m128d vSelect(__m128d a, __m128d b, __m128d mask) {
    return _mm_blendv_pd(a, b, mask);
}
inline __m256d vSelect(__m256d a, __m256d b, __m256d mask) {
    return _mm256_blendv_pd(a, b, mask);
}

template <int Predicate>
__m128d vCompare(__m128d a, __m128d b) {
    return _mm_cmp_pd(a, b, Predicate);
}
template <int Predicate>
__m256d vCompare(__m256d a, __m256d b) {
    return _mm256_cmp_pd(a, b, Predicate);
}

inline int anySet(__m128d mask) {
    return _mm_movemask_pd(mask);
}
inline int anySet(__m256d mask) {
    return _mm256_movemask_pd(mask);
}

}  // namespace
}  // namespace tovrel::dsp::vector
