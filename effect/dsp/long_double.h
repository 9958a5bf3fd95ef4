// LongDouble: the 128-bit double-double type of the signal path. Where the compiler's long
// double is IBM double-double it is used as it is (its operators are the runtime routines);
// elsewhere our pair type reproduces those routines. The helpers read and build both words
// the same way on either.
#pragma once

#include <cstring>

#include "effect/dsp/exact_arithmetic.h"

#if defined(__LONG_DOUBLE_IBM128__)
#define TOVREL_NATIVE_DOUBLE_DOUBLE 1
#else
#define TOVREL_NATIVE_DOUBLE_DOUBLE 0
#include "effect/dsp/double_double.h"
#endif

namespace tovrel::dsp {

#if TOVREL_NATIVE_DOUBLE_DOUBLE

using LongDouble = long double;

// The pair lies in memory high word first, each word in the machine's own byte order.
inline double highWord(LongDouble x) {
    double words[2];
    std::memcpy(words, &x, sizeof words);
    return words[0];
}
inline double lowWord(LongDouble x) {
    double words[2];
    std::memcpy(words, &x, sizeof words);
    return words[1];
}
inline LongDouble makeLongDouble(double high, double low) {
    const double words[2] = {high, low};
    LongDouble x;
    std::memcpy(&x, words, sizeof x);
    return x;
}

#else

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

#endif

static_assert(sizeof(LongDouble) == 2 * sizeof(double), "a long double is a pair of doubles");

inline LongDouble widen(double d) {
    return makeLongDouble(d, 0.0);
}

// Narrowing to float rounds the high word alone, as the runtime does.
inline float toFloat(LongDouble x) {
    return static_cast<float>(highWord(x));
}

// The plain-double instantiation of the signal path reads its values the same way.
inline double highWord(double x) {
    return x;
}
inline double lowWord(double) {
    return 0.0;
}

}  // namespace tovrel::dsp
