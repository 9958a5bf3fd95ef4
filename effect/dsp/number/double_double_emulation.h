// The 32-bit PowerPC runtime's double-double routines, step for step: the same roundings in the
// same order, no renormalisation they do not do, and a +0.0 low word on every early return.
// Used where long double is another type; tested everywhere against the runtime's results.
#pragma once

#include <cmath>
#include <limits>

#include "effect/dsp/maths/fused_multiply_add.h"
#include "effect/dsp/number/double_double.h"
#include "effect/dsp/number/exact_arithmetic.h"

namespace tovrel::dsp::emulation {
namespace detail {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

inline bool nonFinite(double x) {
    return !(std::fabs(x) < kInfinity);
}

// A high word with the rounding error tau, unless their sum leaves the finite range.
inline DoubleDouble settle(double t, double tau) {
    const double h = t + tau;
    if (nonFinite(h)) return {h, 0.0};
    return {h, (t - h) + tau};
}

// An infinite sum of high words may still be finite once the low words are added in.
inline DoubleDouble addNearOverflow(double a, double aa, double c, double cc) {
    const double s = aa + cc;
    const double z = (s + c) + a;
    if (nonFinite(z)) return {z, 0.0};
    if (std::fabs(a) > std::fabs(c)) return {z, ((a - z) + c) + s};
    return {z, ((c - z) + a) + s};
}

}  // namespace detail

inline DoubleDouble add(DoubleDouble x, DoubleDouble y) {
    const double a = x.hi, aa = x.lo, c = y.hi, cc = y.lo;
    const double z = a + c;
    if (std::isnan(z)) return {z, 0.0};
    if (std::isinf(z)) return detail::addNearOverflow(a, aa, c, cc);
    const double q = a - z;
    const double e = (((a - (z + q)) + (c + q)) + aa) + cc;
    if (e == 0.0) return {z, 0.0};  // keeps -0 + -0 at -0
    return detail::settle(z, e);
}

inline DoubleDouble subtract(DoubleDouble x, DoubleDouble y) {
    return emulation::add(x, {-y.hi, -y.lo});
}

inline DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
    const double a = x.hi, aa = x.lo, c = y.hi, cc = y.lo;
    const double t = a * c;
    if (t == 0.0 || detail::nonFinite(t)) return {t, 0.0};
    const double e = maths::fusedMultiplyAdd(a, c, -t);
    const double w = c * aa;
    const double cross = maths::fusedMultiplyAdd(a, cc, w);
    return detail::settle(t, cross + e);
}

inline DoubleDouble divide(DoubleDouble x, DoubleDouble y) {
    double a = x.hi, aa = x.lo, c = y.hi, cc = y.lo;
    const double t = a / c;
    if (t == 0.0 || detail::nonFinite(t)) return {t, 0.0};
    // Tiny dividends are lifted so that the error terms below stay out of the subnormal range.
    constexpr double kTiny = 0x1p-969;
    constexpr double kLift = 0x1p106;
    if (std::fabs(a) <= kTiny) {
        a *= kLift;
        aa *= kLift;
        c *= kLift;
        cc *= kLift;
    }
    const double s = c * t;
    const double sigma = maths::fusedMultiplyAdd(c, t, -s);
    const double w = maths::fusedMultiplyAdd(cc, t, -aa);
    const double v = a - s;
    return detail::settle(t, ((v - sigma) - w) / c);
}

}  // namespace tovrel::dsp::emulation
