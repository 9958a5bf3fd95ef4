// Both channels' double-doubles side by side (lane 0 left, lane 1 right), with the PowerPC
// runtime's sum and product computed the same way, step for step, using the FMA instruction.
// The runtime's special cases are either reproduced without a branch (zero products, zero
// rounding errors) or raised in a flag word, so that the caller can redo the work the exact
// scalar way. Only for the translation unit compiled for FMA: everything here has internal
// linkage, so none of it can be merged with code built for an older processor.
#pragma once

#include <immintrin.h>

namespace tovrel::dsp::vector {
namespace {

struct Lanes {
    __m128d hi;
    __m128d lo;
};

inline __m128d broadcast(double d) {
    return _mm_set1_pd(d);
}

inline Lanes widenLanes(__m128d d) {
    return {d, _mm_setzero_pd()};
}

inline __m128d magnitude(__m128d x) {
    return _mm_andnot_pd(_mm_set1_pd(-0.0), x);
}

// Raised for a lane whose result is an infinity or a NaN: there the runtime's answers differ
// from the ordinary steps.
inline void flagNonFinite(__m128d& flags, __m128d h) {
    const __m128d infinity = _mm_set1_pd(__builtin_inf());
    flags = _mm_or_pd(flags, _mm_cmp_pd(magnitude(h), infinity, _CMP_NLT_UQ));
}

// The runtime rounds h + tau and keeps what was lost as the low word.
inline Lanes settle(__m128d t, __m128d tau, __m128d& flags) {
    const __m128d h = _mm_add_pd(t, tau);
    flagNonFinite(flags, h);
    return {h, _mm_add_pd(_mm_sub_pd(t, h), tau)};
}

// A zero product is returned as it is, low word +0, however it was reached.
inline Lanes keepZeroProduct(__m128d t, Lanes settled) {
    const __m128d zero = _mm_cmp_pd(t, _mm_setzero_pd(), _CMP_EQ_OQ);
    return {_mm_blendv_pd(settled.hi, t, zero), _mm_andnot_pd(zero, settled.lo)};
}

// x + y. Without a rounding error the runtime returns the high sum as it is (a -0 stays -0).
inline Lanes add(Lanes x, Lanes y, __m128d& flags) {
    const __m128d z = _mm_add_pd(x.hi, y.hi);
    const __m128d q = _mm_sub_pd(x.hi, z);
    __m128d e = _mm_sub_pd(x.hi, _mm_add_pd(z, q));
    e = _mm_add_pd(_mm_add_pd(_mm_add_pd(e, _mm_add_pd(y.hi, q)), x.lo), y.lo);
    const __m128d zeroError = _mm_cmp_pd(e, _mm_setzero_pd(), _CMP_EQ_OQ);
    const Lanes settled = settle(z, e, flags);
    return {_mm_blendv_pd(settled.hi, z, zeroError), _mm_andnot_pd(zeroError, settled.lo)};
}

inline Lanes subtract(Lanes x, Lanes y, __m128d& flags) {
    const __m128d sign = _mm_set1_pd(-0.0);
    return add(x, {_mm_xor_pd(y.hi, sign), _mm_xor_pd(y.lo, sign)}, flags);
}

// x * y in general.
inline Lanes multiply(Lanes x, Lanes y, __m128d& flags) {
    const __m128d t = _mm_mul_pd(x.hi, y.hi);
    const __m128d e = _mm_fmsub_pd(x.hi, y.hi, t);
    const __m128d cross = _mm_fmadd_pd(x.hi, y.lo, _mm_mul_pd(y.hi, x.lo));
    return keepZeroProduct(t, settle(t, _mm_add_pd(cross, e), flags));
}

// x * (c, +0): the cross term is then exactly c times x's low word, and with one low word zero
// the product is the same whichever operand comes first.
inline Lanes multiplyBy(Lanes x, __m128d c, __m128d& flags) {
    const __m128d t = _mm_mul_pd(x.hi, c);
    const __m128d e = _mm_fmsub_pd(x.hi, c, t);
    const __m128d cross = _mm_mul_pd(c, x.lo);
    return keepZeroProduct(t, settle(t, _mm_add_pd(cross, e), flags));
}

}  // namespace
}  // namespace tovrel::dsp::vector
