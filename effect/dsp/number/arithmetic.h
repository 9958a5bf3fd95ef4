// What the signal path's templates need from their number type, for DoubleDouble (the 128-bit
// "long double" of the 32-bit PowerPC runtime, bit for bit on every platform) and for plain
// double alike, which the tests and the benchmark's yardstick instantiate.
#pragma once

#include <cmath>
#include <type_traits>

#include "effect/dsp/number/double_double.h"
#include "effect/dsp/number/exact_arithmetic.h"

namespace tovrel::dsp {

inline double highWord(DoubleDouble x) {
    return x.hi;
}
inline double lowWord(DoubleDouble x) {
    return x.lo;
}
inline double highWord(double x) {
    return x;
}
inline double lowWord(double) {
    return 0.0;
}

inline DoubleDouble makeDoubleDouble(double high, double low) {
    return {high, low};
}
inline DoubleDouble widen(double d) {
    return {d, 0.0};
}

// Narrowing to float rounds the high word alone, as the runtime does.
inline float toFloat(DoubleDouble x) {
    return static_cast<float>(x.hi);
}

// A double entering the arithmetic: (d, +0.0) for DoubleDouble.
template <typename T>
T widenTo(double d) {
    if constexpr (std::is_same_v<T, double>) {
        return d;
    } else {
        return widen(d);
    }
}

// A constant held to full double-double precision; plain double keeps its high word.
template <typename T>
T fromWords(double high, double low) {
    if constexpr (std::is_same_v<T, double>) {
        static_cast<void>(low);
        return high;
    } else {
        return makeDoubleDouble(high, low);
    }
}

template <typename T>
bool isFiniteValue(T x) {
    return std::isfinite(highWord(x)) && std::isfinite(lowWord(x));
}

}  // namespace tovrel::dsp
