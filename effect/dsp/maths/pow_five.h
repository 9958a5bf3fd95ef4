// pow(x, 5.0) with the reference runtime's rounding, for every double x: a logarithm in two
// parts, times five, then an exponential, in the same steps and roundings as that runtime's pow.
// Each Fma::apply below is one of its fused operations; every other product and sum is
// rounded on its own, so this file needs -ffp-contract=off (the signal path's flags).
// The common path is table lookups and polynomials; only zeros, infinities, NaNs, subnormal
// arguments and results near the ends of the double range branch off.
#pragma once

#include <cstdint>

#include "effect/dsp/maths/bits.h"
#include "effect/dsp/maths/fused_multiply_add.h"
#include "effect/dsp/maths/pow_tables.h"

namespace tovrel::dsp::maths {
namespace pow_detail {

// A value as an unevaluated sum hi + lo.
struct Split {
    double hi, lo;
};

// Zeros and infinities are their own fifth powers. A NaN keeps its payload, becomes quiet and
// loses its sign, as the reference's square-then-negate leaves it on every platform.
template <typename Fma>
TOVREL_MATHS_INLINE double fifthOfSpecial(std::uint64_t u) {
    if ((u & kExponentField) != kExponentField || (u & ~(kSignBit | kExponentField)) == 0) {
        return fromBits(u);
    }
    return fromBits((u | 0x0008000000000000u) & kMagnitudeBits);
}

// The pattern of a subnormal |x| rescaled to a normal one, less 52 in the exponent field: the
// top 12 bits then hold the true (zero or negative) exponent in two's complement.
template <typename Fma>
TOVREL_MATHS_INLINE std::uint64_t subnormalMagnitude(std::uint64_t a) {
    return bitsOf(fromBits(a) * 0x1p52) - (std::uint64_t{52} << 52);
}

// ln|x| = 2^k * z with z in [0x1.69555p-1, 0x1.69555p0), from the pattern a of |x|.
template <typename Fma>
TOVREL_MATHS_INLINE Split logarithm(std::uint64_t a) {
    using namespace pow_data;
    const std::uint64_t d = a - 0x3fe6955500000000u;
    const LogRow& row = kLogTable[(d >> 45) & 127];
    const auto k = static_cast<std::int64_t>(d) >> 52;  // arithmetic shift: signed exponent
    const double z = fromBits(a - (d & 0xfff0000000000000u));
    const double kd = static_cast<double>(k);

    const double r = Fma::apply(z, row.invc, -1.0);  // exact
    const double t1 = Fma::apply(kd, kLn2Hi, row.logc);
    const double t2 = t1 + r;
    const double l1 = Fma::apply(kd, kLn2Lo, row.logctail);
    const double l2 = (t1 - t2) + r;
    const double ar = kA0 * r;
    const double ar2 = r * ar;
    const double ar3 = r * ar2;
    const double h = t2 + ar2;
    const double l3 = Fma::apply(ar, r, -ar2);
    const double l4 = (t2 - h) + ar2;
    const double q12 = Fma::apply(r, kA2, kA1);
    const double q34 = Fma::apply(r, kA4, kA3);
    const double q56 = Fma::apply(r, kA6, kA5);
    const double m = Fma::apply(ar2, q56, q34);
    const double q = Fma::apply(ar2, m, q12);
    const double s = ((l1 + l2) + l3) + l4;
    const double lo = Fma::apply(ar3, q, s);  // ar3 * q is not rounded on its own
    const double hi = h + lo;
    return {hi, (h - hi) + lo};
}

// 5 * (hi + lo) as a new pair.
template <typename Fma>
TOVREL_MATHS_INLINE Split timesFive(Split l) {
    const double hi = 5.0 * l.hi;
    return {hi, Fma::apply(5.0, l.lo, Fma::apply(5.0, l.hi, -hi))};
}

// exp(e.hi + e.lo) = scale * (1 + p), with the sign of the result already in scale's pattern
// (sbits) and k the nearest integer to e.hi * 128 / ln 2 in the low bits of ki.
struct Exponential {
    std::uint64_t sbits;
    std::uint64_t ki;
    double p;
};

template <typename Fma>
TOVREL_MATHS_INLINE Exponential exponential(Split e, std::uint64_t sign) {
    using namespace pow_data;
    double kd = Fma::apply(e.hi, kInvLn2N, kShift);  // fused: not a product then a sum
    const std::uint64_t ki = bitsOf(kd);
    kd = kd - kShift;
    double r = Fma::apply(kd, kNegLn2LoN, Fma::apply(kd, kNegLn2HiN, e.hi));
    r = r + e.lo;
    const ExpRow& row = kExpTable[ki & 127];
    const std::uint64_t sbits = row.sbase + (ki << 45) + sign;
    const double r2 = r * r;
    const double r4 = r2 * r2;
    const double p = Fma::apply(r4, Fma::apply(r, kC5, kC4),
                                Fma::apply(r2, Fma::apply(r, kC3, kC2), row.tail + r));
    return {sbits, ki, p};
}

// A large result: scaled down while it is formed, so that only the last product can overflow.
template <typename Fma>
TOVREL_MATHS_INLINE double largeResult(const Exponential& x) {
    const double scale = fromBits(x.sbits - (std::uint64_t{1009} << 52));
    return Fma::apply(scale, x.p, scale) * 0x1p1009;
}

// A small result: formed scaled up, then rounded once more at the subnormal precision before
// the final scaling, so that a subnormal result is rounded only once overall.
template <typename Fma>
TOVREL_MATHS_INLINE double smallResult(const Exponential& x) {
    const std::uint64_t sb = x.sbits + (std::uint64_t{1022} << 52);
    const double scale = fromBits(sb);
    const double st = scale * x.p;
    double v = scale + st;  // two roundings, unlike the normal case
    if (v < 1.0 && v > -1.0) {
        const double one = v < 0.0 ? -1.0 : 1.0;
        double w = (scale - v) + st;
        const double hh = one + v;
        w = ((one - hh) + v) + w;
        v = (hh + w) - one;
        if (v == 0.0) v = fromBits(sb & kSignBit);
    }
    return 0x1p-1022 * v;
}

// The whole function, with Fma::apply(a, b, c) as its fused multiply-add: a form of its own
// can use the processor's instruction directly where the caller is built or dispatched for it.
template <typename Fma>
TOVREL_MATHS_INLINE double fifthPower(double x) {
    const std::uint64_t u = bitsOf(x);
    if ((u & kMagnitudeBits) == 0 || (u & kExponentField) == kExponentField) {
        return fifthOfSpecial<Fma>(u);
    }
    const std::uint64_t sign = u & kSignBit;  // five is odd: the result keeps x's sign
    std::uint64_t a = u & kMagnitudeBits;
    if ((a & kExponentField) == 0) a = subnormalMagnitude<Fma>(a);

    const Split e = timesFive<Fma>(logarithm<Fma>(a));
    const auto biased = static_cast<unsigned>((bitsOf(e.hi) >> 52) & 0x7ff);
    if (biased < 0x3c9) {  // |e.hi| < 2^-54: only |x| = 1, where e.hi = 0
        const double v = 1.0 + e.hi;
        return sign ? -v : v;
    }
    if (biased >= 0x409) {  // |e.hi| >= 1024: certain underflow or overflow
        return fromBits((e.hi < 0.0 ? 0 : kExponentField) | sign);
    }
    const Exponential core = exponential<Fma>(e, sign);
    if (biased == 0x408) {  // 512 <= |e.hi| < 1024: near the ends of the range
        return (core.ki & 0x80000000u) == 0 ? largeResult<Fma>(core) : smallResult<Fma>(core);
    }
    const double scale = fromBits(core.sbits);
    return Fma::apply(scale, core.p, scale);
}

}  // namespace pow_detail

// pow(x, 5.0), bit for bit as the reference runtime (glibc 2.36 with fused multiply-add) gives it.
// Always inlined, so it takes the caller's instructions: a call to the library's fma per fused
// step in portable code (use powFiveScalar there), the FMA instruction where built for it.
TOVREL_MATHS_INLINE double powFive(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}

}  // namespace tovrel::dsp::maths
