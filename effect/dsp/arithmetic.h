// What the signal path's templates need from their arithmetic type, for LongDouble and for
// plain double alike.
#pragma once

#include <cmath>
#include <type_traits>

#include "effect/dsp/long_double.h"

namespace tovrel::dsp {

// A double entering the arithmetic: (d, +0.0) for LongDouble.
template <typename T>
T widenTo(double d) {
    if constexpr (std::is_same_v<T, double>) {
        return d;
    } else {
        return widen(d);
    }
}

// A constant held to full long double precision; plain double keeps its high word.
template <typename T>
T fromWords(double high, double low) {
    if constexpr (std::is_same_v<T, double>) {
        static_cast<void>(low);
        return high;
    } else {
        return makeLongDouble(high, low);
    }
}

template <typename T>
bool isFiniteValue(T x) {
    return std::isfinite(highWord(x)) && std::isfinite(lowWord(x));
}

}  // namespace tovrel::dsp
