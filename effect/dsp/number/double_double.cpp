#include "effect/dsp/number/double_double.h"

#include <cstring>

#if defined(__LONG_DOUBLE_IBM128__)

// The compiler takes + and * on its long double for commutative and may hand the runtime the
// operands in either order; called by name, the routines get them in ours.
extern "C" {
long double __gcc_qadd(double a, double aa, double c, double cc);
long double __gcc_qsub(double a, double aa, double c, double cc);
long double __gcc_qmul(double a, double aa, double c, double cc);
long double __gcc_qdiv(double a, double aa, double c, double cc);
}

namespace tovrel::dsp {
namespace {

DoubleDouble fromNative(long double x) {
    DoubleDouble pair;  // the native pair lies high word first
    static_assert(sizeof pair == sizeof x, "long double is a pair of doubles");
    std::memcpy(&pair, &x, sizeof pair);
    return pair;
}

}  // namespace

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    return fromNative(__gcc_qadd(a.hi, a.lo, b.hi, b.lo));
}
DoubleDouble subtract(DoubleDouble a, DoubleDouble b) {
    return fromNative(__gcc_qsub(a.hi, a.lo, b.hi, b.lo));
}
DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    return fromNative(__gcc_qmul(a.hi, a.lo, b.hi, b.lo));
}
DoubleDouble divide(DoubleDouble a, DoubleDouble b) {
    return fromNative(__gcc_qdiv(a.hi, a.lo, b.hi, b.lo));
}

}  // namespace tovrel::dsp

#else

#include "effect/dsp/number/double_double_emulation.h"

namespace tovrel::dsp {

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    return emulation::add(a, b);
}
DoubleDouble subtract(DoubleDouble a, DoubleDouble b) {
    return emulation::subtract(a, b);
}
DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    return emulation::multiply(a, b);
}
DoubleDouble divide(DoubleDouble a, DoubleDouble b) {
    return emulation::divide(a, b);
}

}  // namespace tovrel::dsp

#endif
