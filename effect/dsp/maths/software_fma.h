// a * b + c rounded once, from integer arithmetic alone: for targets whose library fma is not
// correctly rounded and whose processor may lack the instruction (mingw-w64's fma is wrong on
// about one hard case in six). Portable to 32-bit targets: 128-bit values are two 64-bit halves.
#pragma once

#include <cstdint>

#include "effect/dsp/maths/bits.h"

namespace tovrel::dsp::maths {
namespace software_fma_detail {

struct U128 {
    std::uint64_t hi, lo;
};

TOVREL_MATHS_INLINE bool isZero(U128 x) {
    return (x.hi | x.lo) == 0;
}

TOVREL_MATHS_INLINE bool lessThan(U128 x, U128 y) {
    return x.hi < y.hi || (x.hi == y.hi && x.lo < y.lo);
}

TOVREL_MATHS_INLINE U128 plus(U128 x, U128 y) {
    const std::uint64_t lo = x.lo + y.lo;
    return {x.hi + y.hi + (lo < x.lo ? 1 : 0), lo};
}

TOVREL_MATHS_INLINE U128 minus(U128 x, U128 y) {
    return {x.hi - y.hi - (x.lo < y.lo ? 1 : 0), x.lo - y.lo};
}

TOVREL_MATHS_INLINE U128 shiftLeft(U128 x, int n) {  // 0 <= n < 128
    if (n == 0) return x;
    if (n >= 64) return {x.lo << (n - 64), 0};
    return {(x.hi << n) | (x.lo >> (64 - n)), x.lo << n};
}

TOVREL_MATHS_INLINE U128 shiftRight(U128 x, int n) {  // 0 <= n < 128
    if (n == 0) return x;
    if (n >= 64) return {0, x.hi >> (n - 64)};
    return {x.hi >> n, (x.lo >> n) | (x.hi << (64 - n))};
}

// Shifted right by n, with every bit shifted out folded into bit 0 (the sticky bit).
TOVREL_MATHS_INLINE U128 shiftRightSticky(U128 x, int n) {
    if (n == 0) return x;
    if (n >= 128) return {0, isZero(x) ? 0u : 1u};
    const U128 kept = shiftRight(x, n);
    const bool lost = !isZero(minus(x, shiftLeft(kept, n)));
    return {kept.hi, kept.lo | (lost ? 1u : 0u)};
}

TOVREL_MATHS_INLINE int topBit(U128 x) {  // x nonzero
    return x.hi != 0 ? 127 - __builtin_clzll(x.hi) : 63 - __builtin_clzll(x.lo);
}

// The 106-bit product of two 53-bit mantissas, on 32-bit halves.
TOVREL_MATHS_INLINE U128 product(std::uint64_t x, std::uint64_t y) {
    const std::uint64_t x0 = x & 0xffffffffu, x1 = x >> 32, y0 = y & 0xffffffffu, y1 = y >> 32;
    const std::uint64_t low = x0 * y0, cross1 = x0 * y1, cross2 = x1 * y0, high = x1 * y1;
    const std::uint64_t middle = (low >> 32) + (cross1 & 0xffffffffu) + (cross2 & 0xffffffffu);
    return {high + (cross1 >> 32) + (cross2 >> 32) + (middle >> 32),
            (middle << 32) | (low & 0xffffffffu)};
}

// A finite nonzero value as mantissa * 2^exponent with the mantissa's top bit at bit 52.
struct Unpacked {
    std::uint64_t mantissa;
    int exponent;
};

TOVREL_MATHS_INLINE Unpacked unpack(std::uint64_t bits) {
    const int field = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t m = bits & 0x000fffffffffffffu;
    if (field != 0) return {m | 0x0010000000000000u, field - 1075};
    const int shift = __builtin_clzll(m) - 11;  // subnormal: normalise
    return {m << shift, -1074 - shift};
}

// The double nearest magnitude * 2^exponent, ties to even, with the sign bit given.
TOVREL_MATHS_INLINE double round(U128 magnitude, int exponent, std::uint64_t sign) {
    const int top = topBit(magnitude);
    int lowest = top - 52;                                     // the last bit a double keeps
    if (exponent + lowest < -1074) lowest = -1074 - exponent;  // fewer in the subnormal range
    if (lowest > top + 1) return fromBits(sign);               // below half the smallest step
    std::uint64_t m;
    if (lowest <= 0) {
        m = shiftLeft(magnitude, -lowest).lo;  // exact: nothing to round
    } else {
        const U128 kept = shiftRight(magnitude, lowest);
        const U128 rest = minus(magnitude, shiftLeft(kept, lowest));
        const U128 half = shiftLeft({0, 1}, lowest - 1);
        m = kept.lo;
        if (lessThan(half, rest) || (!lessThan(rest, half) && (m & 1) != 0)) ++m;
    }
    // With the leading bit in m the exponent field comes out right, even after a carry.
    const std::int64_t step = std::int64_t{exponent} + lowest + 1074;
    if (step > 2046) return fromBits(sign | kExponentField);
    const std::uint64_t bits = (static_cast<std::uint64_t>(step) << 52) + m;
    return fromBits(sign | (bits >= kExponentField ? kExponentField : bits));
}

}  // namespace software_fma_detail

TOVREL_MATHS_INLINE double softwareFusedMultiplyAdd(double a, double b, double c) {
    using namespace software_fma_detail;
    const std::uint64_t ua = bitsOf(a), ub = bitsOf(b), uc = bitsOf(c);
    const auto nonFinite = [](std::uint64_t u) { return (u & kExponentField) == kExponentField; };
    const auto zero = [](std::uint64_t u) { return (u & kMagnitudeBits) == 0; };
    // Each of these needs one rounding at most, so plain operations give the fused result.
    if (nonFinite(ua) || nonFinite(ub)) return a * b + c;  // inf or NaN in any case
    if (nonFinite(uc)) return c + c;                       // a finite product cannot change it
    if (zero(ua) || zero(ub)) return a * b + c;            // an exact zero product
    if (zero(uc)) return a * b;  // the product's own sign if it underflows
    const Unpacked x = unpack(ua), y = unpack(ub), z = unpack(uc);
    // Both terms with their top bit at 124 or 125: the product's 106 bits over 20 zeros,
    // c's 53 over 73. The one with the smaller exponent is aligned, its lost bits kept as
    // sticky; below 20 places nothing is lost, above, cancellation takes one bit at most.
    U128 p = shiftLeft(product(x.mantissa, y.mantissa), 20);
    int pe = x.exponent + y.exponent - 20;
    U128 q = shiftLeft({0, z.mantissa}, 73);
    int qe = z.exponent - 73;
    if (pe < qe) {
        p = shiftRightSticky(p, qe - pe), pe = qe;
    } else {
        q = shiftRightSticky(q, pe - qe);
    }
    const std::uint64_t productSign = (ua ^ ub) & kSignBit, cSign = uc & kSignBit;
    if (productSign == cSign) return round(plus(p, q), pe, cSign);
    if (lessThan(p, q)) return round(minus(q, p), pe, cSign);
    if (lessThan(q, p)) return round(minus(p, q), pe, productSign);
    return 0.0;  // exact cancellation is +0
}

}  // namespace tovrel::dsp::maths
