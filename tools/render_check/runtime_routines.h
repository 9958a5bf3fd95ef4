// The four double-double routines called with their operands in the order written. On PowerPC
// they are the compiler runtime's own, called by name: the compiler treats long double + and
// * as commutative and may pass the operands of an operator the other way round. Elsewhere
// DoubleDouble's operators are plain calls of our emulation, which keep the order anyway.
#pragma once

#include "effect/dsp/number/arithmetic.h"

#if TOVREL_NATIVE_DOUBLE_DOUBLE
extern "C" {
long double __gcc_qadd(double a, double aa, double c, double cc);
long double __gcc_qsub(double a, double aa, double c, double cc);
long double __gcc_qmul(double a, double aa, double c, double cc);
long double __gcc_qdiv(double a, double aa, double c, double cc);
}
#endif

namespace tovrel::render {

using dsp::DoubleDouble;

#if TOVREL_NATIVE_DOUBLE_DOUBLE
#define TOVREL_ROUTINE(name, routine, op)                                                     \
    inline DoubleDouble name(DoubleDouble a, DoubleDouble b) {                                      \
        return routine(dsp::highWord(a), dsp::lowWord(a), dsp::highWord(b), dsp::lowWord(b)); \
    }
#else
#define TOVREL_ROUTINE(name, routine, op)                \
    inline DoubleDouble name(DoubleDouble a, DoubleDouble b) { \
        return a op b;                                   \
    }
#endif

TOVREL_ROUTINE(routineAdd, __gcc_qadd, +)
TOVREL_ROUTINE(routineSubtract, __gcc_qsub, -)
TOVREL_ROUTINE(routineMultiply, __gcc_qmul, *)
TOVREL_ROUTINE(routineDivide, __gcc_qdiv, /)

#undef TOVREL_ROUTINE

}  // namespace tovrel::render
