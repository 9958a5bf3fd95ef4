// LongDouble: the 128-bit double-double type of the signal path, a (high, low) pair of doubles
// whose arithmetic is the 32-bit PowerPC runtime's, bit for bit, on every platform (there the
// runtime routines themselves, elsewhere their emulation).
#pragma once

#include "effect/dsp/double_double.h"
#include "effect/dsp/exact_arithmetic.h"

namespace tovrel::dsp {

using LongDouble = DoubleDouble;

inline double highWord(LongDouble x) {
    return x.hi;
}
inline double lowWord(LongDouble x) {
    return x.lo;
}
inline LongDouble makeLongDouble(double high, double low) {
    return {high, low};
}
inline LongDouble widen(double d) {
    return {d, 0.0};
}

// Narrowing to float rounds the high word alone, as the runtime does.
inline float toFloat(LongDouble x) {
    return static_cast<float>(x.hi);
}

// The plain-double instantiation of the signal path reads its values the same way.
inline double highWord(double x) {
    return x;
}
inline double lowWord(double) {
    return 0.0;
}

}  // namespace tovrel::dsp
