// pow(x, 5.0) on N four-lane vectors at once: the steps of maths::powFive (pow_five.h), each
// with the same operation, operands and rounding, its table rows loaded lane by lane. A lane the
// common path does not cover (zero, subnormal, infinite or NaN x, |x| = 1, or a result near the
// ends of the double range) is computed by the scalar form instead, which gives the same bits:
// audio never goes there, as the saturator's input is clamped to -1..1 and is never that small.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/maths/pow_five.h"
#include "effect/dsp/vector/lane_pack.h"

namespace tovrel::dsp::vector {
namespace {

// The signed exponent d >> 52 of each 64-bit lane, as doubles: the high 32-bit halves shifted
// arithmetically by 20, then converted.
template <int N>
TOVREL_KERNEL_INLINE DoublePack<N> exponentAsDouble(WordPack<N> d) {
    DoublePack<N> r;
    const __m256i highHalves = _mm256_setr_epi32(1, 3, 5, 7, 1, 3, 5, 7);
    for (int k = 0; k < N; ++k) {
        const __m256i high = _mm256_permutevar8x32_epi32(d.v[k], highHalves);
        r.v[k] = _mm256_cvtepi32_pd(_mm256_castsi256_si128(_mm256_srai_epi32(high, 20)));
    }
    return r;
}

// The addresses of four table rows, one a lane, moved out of the vector for the loads (a gather
// is slower on the processors we measured).
struct RowAddresses {
    const double* at[4];
};
TOVREL_KERNEL_INLINE RowAddresses addressesOf(const void* table, __m256i bytes) {
    const __m256i where = _mm256_add_epi64(
        bytes, _mm256_set1_epi64x(static_cast<long long>(reinterpret_cast<std::uintptr_t>(table))));
    const __m128i low = _mm256_castsi256_si128(where), high = _mm256_extracti128_si256(where, 1);
    const auto address = [](long long a) { return reinterpret_cast<const double*>(a); };
    return {{address(_mm_cvtsi128_si64(low)), address(_mm_extract_epi64(low, 1)),
             address(_mm_cvtsi128_si64(high)), address(_mm_extract_epi64(high, 1))}};
}

// Rows 0 and 2 in one vector, 1 and 3 in another: unpacking them gives the columns in lane order.
TOVREL_KERNEL_INLINE __m256d twoRows(const double* a, const double* b) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(a)), _mm_loadu_pd(b), 1);
}

template <int N>
struct LogColumns {
    DoublePack<N> invc, logc, logctail;
};
template <int N>
TOVREL_KERNEL_INLINE LogColumns<N> logRows(WordPack<N> row) {
    namespace pd = maths::pow_data;
    static_assert(sizeof(pd::LogRow) == 3 * sizeof(double), "log rows are three doubles");
    LogColumns<N> c;
    for (int k = 0; k < N; ++k) {
        const __m256i bytes = _mm256_mul_epu32(row.v[k], _mm256_set1_epi64x(sizeof(pd::LogRow)));
        const RowAddresses rows = addressesOf(pd::kLogTable, bytes);
        const double* const* r = rows.at;
        const __m256d even = twoRows(r[0], r[2]), odd = twoRows(r[1], r[3]);
        const __m128d tails01 = _mm_loadh_pd(_mm_load_sd(r[0] + 2), r[1] + 2);
        const __m128d tails23 = _mm_loadh_pd(_mm_load_sd(r[2] + 2), r[3] + 2);
        c.invc.v[k] = _mm256_unpacklo_pd(even, odd);
        c.logc.v[k] = _mm256_unpackhi_pd(even, odd);
        c.logctail.v[k] = _mm256_insertf128_pd(_mm256_castpd128_pd256(tails01), tails23, 1);
    }
    return c;
}

template <int N>
struct ExpColumns {
    DoublePack<N> tail;
    WordPack<N> sbase;
};
template <int N>
TOVREL_KERNEL_INLINE ExpColumns<N> expRows(WordPack<N> row) {
    namespace pd = maths::pow_data;
    static_assert(sizeof(pd::ExpRow) == 2 * sizeof(double), "exp rows are two words");
    ExpColumns<N> c;
    for (int k = 0; k < N; ++k) {
        const RowAddresses r = addressesOf(pd::kExpTable, _mm256_slli_epi64(row.v[k], 4));
        const __m256d even = twoRows(r.at[0], r.at[2]), odd = twoRows(r.at[1], r.at[3]);
        c.tail.v[k] = _mm256_unpacklo_pd(even, odd);
        c.sbase.v[k] = _mm256_castpd_si256(_mm256_unpackhi_pd(even, odd));
    }
    return c;
}

template <int N>
struct PackSplit {
    DoublePack<N> hi, lo;
};

// pow_detail::logarithm, lane by lane.
template <int N>
TOVREL_KERNEL_INLINE PackSplit<N> packLogarithm(WordPack<N> a) {
    namespace pd = maths::pow_data;
    const auto c = [](double x) { return splatDoubles<N>(x); };
    const WordPack<N> d = a - splatWords<N>(0x3fe6955500000000u);
    const LogColumns<N> row = logRows((d >> 45) & splatWords<N>(127));
    const DoublePack<N> z = doubles(a - (d & splatWords<N>(0xfff0000000000000u)));
    const DoublePack<N> kd = exponentAsDouble(d);

    const DoublePack<N> r = fma(z, row.invc, c(-1.0));
    const DoublePack<N> t1 = fma(kd, c(pd::kLn2Hi), row.logc);
    const DoublePack<N> t2 = t1 + r;
    const DoublePack<N> l1 = fma(kd, c(pd::kLn2Lo), row.logctail);
    const DoublePack<N> l2 = (t1 - t2) + r;
    const DoublePack<N> ar = c(pd::kA0) * r;
    const DoublePack<N> ar2 = r * ar;
    const DoublePack<N> ar3 = r * ar2;
    const DoublePack<N> h = t2 + ar2;
    const DoublePack<N> l3 = fms(ar, r, ar2);
    const DoublePack<N> l4 = (t2 - h) + ar2;
    const DoublePack<N> q12 = fma(r, c(pd::kA2), c(pd::kA1));
    const DoublePack<N> q34 = fma(r, c(pd::kA4), c(pd::kA3));
    const DoublePack<N> q56 = fma(r, c(pd::kA6), c(pd::kA5));
    const DoublePack<N> m = fma(ar2, q56, q34);
    const DoublePack<N> q = fma(ar2, m, q12);
    const DoublePack<N> s = ((l1 + l2) + l3) + l4;
    const DoublePack<N> lo = fma(ar3, q, s);
    const DoublePack<N> hi = h + lo;
    return {hi, (h - hi) + lo};
}

// pow_detail::timesFive.
template <int N>
TOVREL_KERNEL_INLINE PackSplit<N> packTimesFive(PackSplit<N> l) {
    const DoublePack<N> five = splatDoubles<N>(5.0);
    const DoublePack<N> hi = five * l.hi;
    return {hi, fma(five, l.lo, fms(five, l.hi, hi))};
}

// pow_detail::exponential and the ordinary result fma(scale, p, scale).
template <int N>
TOVREL_KERNEL_INLINE DoublePack<N> packExponential(PackSplit<N> e, WordPack<N> sign) {
    namespace pd = maths::pow_data;
    const auto c = [](double x) { return splatDoubles<N>(x); };
    DoublePack<N> kd = fma(e.hi, c(pd::kInvLn2N), c(pd::kShift));
    const WordPack<N> ki = words(kd);
    kd = kd - c(pd::kShift);
    DoublePack<N> r = fma(kd, c(pd::kNegLn2LoN), fma(kd, c(pd::kNegLn2HiN), e.hi));
    r = r + e.lo;
    const ExpColumns<N> row = expRows(ki & splatWords<N>(127));
    const WordPack<N> sbits = (row.sbase + (ki << 45)) + sign;
    const DoublePack<N> r2 = r * r;
    const DoublePack<N> r4 = r2 * r2;
    const DoublePack<N> p = fma(r4, fma(r, c(pd::kC5), c(pd::kC4)),
                                fma(r2, fma(r, c(pd::kC3), c(pd::kC2)), row.tail + r));
    const DoublePack<N> scale = doubles(sbits);
    return fma(scale, p, scale);
}

// Lanes outside the common path: x zero, subnormal, infinite or NaN, or e.hi's biased exponent
// below 0x3c9 (|x| = 1) or at 0x408 and above (a result near the ends of the range).
template <int N>
TOVREL_KERNEL_INLINE int uncommonLanes(WordPack<N> a, DoublePack<N> eHi) {
    const WordPack<N> field = a >> 52;
    const WordPack<N> notNormal = (field == splatWords<N>(0)) | (field == splatWords<N>(0x7ff));
    const WordPack<N> biased = (words(eHi) >> 52) & splatWords<N>(0x7ff);
    const WordPack<N> tiny = splatWords<N>(0x3c9) > biased;
    const WordPack<N> huge = biased > splatWords<N>(0x407);
    return signBits(notNormal | (tiny | huge));
}

template <int N>
TOVREL_KERNEL_INLINE DoublePack<N> packPowFive(DoublePack<N> x) {
    const WordPack<N> u = words(x);
    const WordPack<N> sign = u & splatWords<N>(maths::kSignBit);
    const WordPack<N> a = u & splatWords<N>(maths::kMagnitudeBits);
    const PackSplit<N> e = packTimesFive(packLogarithm(a));
    DoublePack<N> result = packExponential(e, sign);
    const int odd = uncommonLanes(a, e.hi);
    if (odd != 0) {
        alignas(32) double lanes[4 * N], results[4 * N];
        for (int k = 0; k < N; ++k) {
            _mm256_store_pd(lanes + 4 * k, x.v[k]);
            _mm256_store_pd(results + 4 * k, result.v[k]);
        }
        for (int k = 0; k < 4 * N; ++k) {
            if ((odd >> k) & 1) results[k] = maths::powFive(lanes[k]);
        }
        for (int k = 0; k < N; ++k) result.v[k] = _mm256_load_pd(results + 4 * k);
    }
    return result;
}

// One vector's fifth powers.
TOVREL_KERNEL_INLINE __m256d lanePowFive(__m256d x) {
    return packPowFive(DoublePack<1>{{x}}).v[0];
}

}  // namespace
}  // namespace tovrel::dsp::vector
