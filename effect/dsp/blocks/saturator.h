// Building block: the fifth-power saturator. Rises from -0.8232 to 0.8232 over -1..1 and holds
// its end values beyond; a NaN passes through.
#pragma once

#include <cmath>

#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/number/arithmetic.h"

namespace tovrel::dsp {

// The fifth power's weight: the curve's slope at the ends of -1..1 is 1 - 5 * 0.1768.
constexpr double kSaturatorCurve = -0.1768;

template <typename T>
T saturate(T x) {
    const T upper = widenTo<T>(1.0);
    const T lower = widenTo<T>(-1.0);
    if (x > upper) {
        x = upper;
    } else if (x < lower) {
        x = lower;
    }
    // pow, not repeated products: its rounding is part of the sound. Our own, so that it is the
    // same on every system.
    const double fifth = maths::powFiveScalar(highWord(x));
    return widenTo<T>(fifth * kSaturatorCurve) + x;
}

}  // namespace tovrel::dsp
