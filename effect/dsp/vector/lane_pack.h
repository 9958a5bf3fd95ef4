// N four-lane vectors worked on together: every operation is issued for each vector before the
// next operation begins. Independent chains written this way sit side by side in the
// instruction stream, so the processor's window overlaps them; one after the other, a window
// too short for a whole chain would run them nearly in turn. Each operation is the single
// instruction its name says, so the arithmetic is exactly that of one vector.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/vector/lanes.h"

namespace tovrel::dsp::vector {
namespace {

template <int N>
struct DoublePack {
    __m256d v[N];
};

template <int N>
struct WordPack {  // 64-bit integer lanes
    __m256i v[N];
};

#define TOVREL_PACK_OP(name, Result, expression)                                 \
    template <int N>                                                             \
    TOVREL_KERNEL_INLINE Result name {                                           \
        Result r;                                                                \
        _Pragma("GCC unroll 4") for (int k = 0; k < N; ++k) r.v[k] = expression; \
        return r;                                                                \
    }

// Doubles: each operation rounds once, as its instruction does.
TOVREL_PACK_OP(operator+(DoublePack<N> a, DoublePack<N> b), DoublePack<N>,
               _mm256_add_pd(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator-(DoublePack<N> a, DoublePack<N> b), DoublePack<N>,
               _mm256_sub_pd(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator*(DoublePack<N> a, DoublePack<N> b), DoublePack<N>,
               _mm256_mul_pd(a.v[k], b.v[k]))
// a * b + c and a * b - c, fused.
TOVREL_PACK_OP(fma(DoublePack<N> a, DoublePack<N> b, DoublePack<N> c), DoublePack<N>,
               _mm256_fmadd_pd(a.v[k], b.v[k], c.v[k]))
TOVREL_PACK_OP(fms(DoublePack<N> a, DoublePack<N> b, DoublePack<N> c), DoublePack<N>,
               _mm256_fmsub_pd(a.v[k], b.v[k], c.v[k]))
TOVREL_PACK_OP(doubles(WordPack<N> a), DoublePack<N>, _mm256_castsi256_pd(a.v[k]))

// Words.
TOVREL_PACK_OP(operator+(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_add_epi64(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator-(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_sub_epi64(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator&(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_and_si256(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator|(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_or_si256(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator>>(WordPack<N> a, int bits), WordPack<N>,
               _mm256_srli_epi64(a.v[k], bits))  // logical
TOVREL_PACK_OP(operator<<(WordPack<N> a, int bits), WordPack<N>, _mm256_slli_epi64(a.v[k], bits))
TOVREL_PACK_OP(operator==(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_cmpeq_epi64(a.v[k], b.v[k]))
TOVREL_PACK_OP(operator>(WordPack<N> a, WordPack<N> b), WordPack<N>,
               _mm256_cmpgt_epi64(a.v[k], b.v[k]))  // signed
TOVREL_PACK_OP(words(DoublePack<N> a), WordPack<N>, _mm256_castpd_si256(a.v[k]))

#undef TOVREL_PACK_OP

template <int N>
TOVREL_KERNEL_INLINE DoublePack<N> splatDoubles(double x) {
    DoublePack<N> r;
    for (__m256d& v : r.v) v = _mm256_set1_pd(x);
    return r;
}

template <int N>
TOVREL_KERNEL_INLINE WordPack<N> splatWords(std::uint64_t x) {
    WordPack<N> r;
    for (__m256i& v : r.v) v = _mm256_set1_epi64x(static_cast<long long>(x));
    return r;
}

// The lanes' sign bits, vector k's in bits 4k to 4k + 3.
template <int N>
TOVREL_KERNEL_INLINE int signBits(WordPack<N> mask) {
    int bits = 0;
    for (int k = 0; k < N; ++k) bits |= _mm256_movemask_pd(_mm256_castsi256_pd(mask.v[k])) << 4 * k;
    return bits;
}

}  // namespace
}  // namespace tovrel::dsp::vector
