// pow(x, 5.0) on four lanes: the steps of maths::powFive (pow_five.h), each with the same
// operation, operands and rounding, the table rows gathered per lane. A lane the common path
// does not cover (zero, subnormal, infinite or NaN x, |x| = 1, or a result near the ends of the
// double range) is computed by the scalar form instead, which gives the same bits: audio never
// goes there, as the saturator's input is clamped to -1..1 and is never that small.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/maths/pow_five.h"
#include "effect/dsp/vector/lanes.h"

namespace tovrel::dsp::vector {
namespace {

TOVREL_KERNEL_INLINE __m256i splat64(std::uint64_t x) {
    return _mm256_set1_epi64x(static_cast<long long>(x));
}
TOVREL_KERNEL_INLINE __m256d asPd(__m256i x) {
    return _mm256_castsi256_pd(x);
}
TOVREL_KERNEL_INLINE __m256i asInt(__m256d x) {
    return _mm256_castpd_si256(x);
}
TOVREL_KERNEL_INLINE __m256d fma4(__m256d a, __m256d b, __m256d c) {
    return _mm256_fmadd_pd(a, b, c);
}

// The signed exponent d >> 52 of each 64-bit lane, as doubles: the high 32-bit halves shifted
// arithmetically by 20, then converted.
TOVREL_KERNEL_INLINE __m256d exponentAsDouble(__m256i d) {
    const __m256i highHalves =
        _mm256_permutevar8x32_epi32(d, _mm256_setr_epi32(1, 3, 5, 7, 1, 3, 5, 7));
    return _mm256_cvtepi32_pd(_mm256_castsi256_si128(_mm256_srai_epi32(highHalves, 20)));
}

struct LaneSplit {
    __m256d hi, lo;
};

// pow_detail::logarithm, lane by lane.
TOVREL_KERNEL_INLINE LaneSplit laneLogarithm(__m256i a) {
    namespace pd = maths::pow_data;
    const __m256i d = _mm256_sub_epi64(a, splat64(0x3fe6955500000000u));
    const __m256i row = _mm256_and_si256(_mm256_srli_epi64(d, 45), splat64(127));
    const __m256i at = _mm256_add_epi64(_mm256_slli_epi64(row, 1), row);  // three doubles a row
    const double* table = &pd::kLogTable[0].invc;
    static_assert(sizeof(pd::LogRow) == 3 * sizeof(double), "log rows are three doubles");
    const __m256d invc = _mm256_i64gather_pd(table, at, 8);
    const __m256d logc = _mm256_i64gather_pd(table + 1, at, 8);
    const __m256d logctail = _mm256_i64gather_pd(table + 2, at, 8);
    const __m256d z = asPd(_mm256_sub_epi64(a, _mm256_and_si256(d, splat64(0xfff0000000000000u))));
    const __m256d kd = exponentAsDouble(d);

    const __m256d r = fma4(z, invc, _mm256_set1_pd(-1.0));
    const __m256d t1 = fma4(kd, _mm256_set1_pd(pd::kLn2Hi), logc);
    const __m256d t2 = _mm256_add_pd(t1, r);
    const __m256d l1 = fma4(kd, _mm256_set1_pd(pd::kLn2Lo), logctail);
    const __m256d l2 = _mm256_add_pd(_mm256_sub_pd(t1, t2), r);
    const __m256d ar = _mm256_mul_pd(_mm256_set1_pd(pd::kA0), r);
    const __m256d ar2 = _mm256_mul_pd(r, ar);
    const __m256d ar3 = _mm256_mul_pd(r, ar2);
    const __m256d h = _mm256_add_pd(t2, ar2);
    const __m256d l3 = _mm256_fmsub_pd(ar, r, ar2);
    const __m256d l4 = _mm256_add_pd(_mm256_sub_pd(t2, h), ar2);
    const __m256d q12 = fma4(r, _mm256_set1_pd(pd::kA2), _mm256_set1_pd(pd::kA1));
    const __m256d q34 = fma4(r, _mm256_set1_pd(pd::kA4), _mm256_set1_pd(pd::kA3));
    const __m256d q56 = fma4(r, _mm256_set1_pd(pd::kA6), _mm256_set1_pd(pd::kA5));
    const __m256d m = fma4(ar2, q56, q34);
    const __m256d q = fma4(ar2, m, q12);
    const __m256d s = _mm256_add_pd(_mm256_add_pd(_mm256_add_pd(l1, l2), l3), l4);
    const __m256d lo = fma4(ar3, q, s);
    const __m256d hi = _mm256_add_pd(h, lo);
    return {hi, _mm256_add_pd(_mm256_sub_pd(h, hi), lo)};
}

// pow_detail::timesFive.
TOVREL_KERNEL_INLINE LaneSplit laneTimesFive(LaneSplit l) {
    const __m256d five = _mm256_set1_pd(5.0);
    const __m256d hi = _mm256_mul_pd(five, l.hi);
    return {hi, fma4(five, l.lo, _mm256_fmsub_pd(five, l.hi, hi))};
}

// pow_detail::exponential and the ordinary result fma(scale, p, scale).
TOVREL_KERNEL_INLINE __m256d laneExponential(LaneSplit e, __m256i sign) {
    namespace pd = maths::pow_data;
    __m256d kd = fma4(e.hi, _mm256_set1_pd(pd::kInvLn2N), _mm256_set1_pd(pd::kShift));
    const __m256i ki = asInt(kd);
    kd = _mm256_sub_pd(kd, _mm256_set1_pd(pd::kShift));
    __m256d r =
        fma4(kd, _mm256_set1_pd(pd::kNegLn2LoN), fma4(kd, _mm256_set1_pd(pd::kNegLn2HiN), e.hi));
    r = _mm256_add_pd(r, e.lo);
    const __m256i at = _mm256_slli_epi64(_mm256_and_si256(ki, splat64(127)), 1);  // two words
    static_assert(sizeof(pd::ExpRow) == 2 * sizeof(double), "exp rows are two words");
    const double* tails = &pd::kExpTable[0].tail;
    const __m256d tail = _mm256_i64gather_pd(tails, at, 8);
    const __m256i sbase =
        _mm256_i64gather_epi64(reinterpret_cast<const long long*>(&pd::kExpTable[0].sbase), at, 8);
    const __m256i sbits =
        _mm256_add_epi64(_mm256_add_epi64(sbase, _mm256_slli_epi64(ki, 45)), sign);
    const __m256d r2 = _mm256_mul_pd(r, r);
    const __m256d r4 = _mm256_mul_pd(r2, r2);
    const __m256d p = fma4(r4, fma4(r, _mm256_set1_pd(pd::kC5), _mm256_set1_pd(pd::kC4)),
                           fma4(r2, fma4(r, _mm256_set1_pd(pd::kC3), _mm256_set1_pd(pd::kC2)),
                                _mm256_add_pd(tail, r)));
    const __m256d scale = asPd(sbits);
    return fma4(scale, p, scale);
}

// Lanes outside the common path: x zero, subnormal, infinite or NaN, or e.hi's biased exponent
// below 0x3c9 (|x| = 1) or at 0x408 and above (a result near the ends of the range).
TOVREL_KERNEL_INLINE __m256i uncommon(__m256i a, __m256d eHi) {
    const __m256i field = _mm256_srli_epi64(a, 52);
    const __m256i notNormal = _mm256_or_si256(_mm256_cmpeq_epi64(field, _mm256_setzero_si256()),
                                              _mm256_cmpeq_epi64(field, splat64(0x7ff)));
    const __m256i biased = _mm256_and_si256(_mm256_srli_epi64(asInt(eHi), 52), splat64(0x7ff));
    const __m256i tiny = _mm256_cmpgt_epi64(splat64(0x3c9), biased);
    const __m256i huge = _mm256_cmpgt_epi64(biased, splat64(0x407));
    return _mm256_or_si256(notNormal, _mm256_or_si256(tiny, huge));
}

TOVREL_KERNEL_INLINE __m256d lanePowFive(__m256d x) {
    const __m256i u = asInt(x);
    const __m256i sign = _mm256_and_si256(u, splat64(maths::kSignBit));
    const __m256i a = _mm256_and_si256(u, splat64(maths::kMagnitudeBits));
    const LaneSplit e = laneTimesFive(laneLogarithm(a));
    __m256d result = laneExponential(e, sign);
    const int odd = _mm256_movemask_pd(asPd(uncommon(a, e.hi)));
    if (odd != 0) {
        alignas(32) double lanes[4], results[4];
        _mm256_store_pd(lanes, x);
        _mm256_store_pd(results, result);
        for (int k = 0; k < 4; ++k) {
            if ((odd >> k) & 1) results[k] = maths::powFive(lanes[k]);
        }
        result = _mm256_load_pd(results);
    }
    return result;
}

}  // namespace
}  // namespace tovrel::dsp::vector
