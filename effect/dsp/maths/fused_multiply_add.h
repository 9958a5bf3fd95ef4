// The one fused multiply-add of the signal path's own maths and of the double-double emulation:
// a * b + c rounded once. Every target built here has a correctly rounded std::fma (the hardware
// instruction, or glibc's exact software routine where the processor lacks one); the tests in
// tests/dsp/maths hold each target's library to an exact reference.
#pragma once

#include <cmath>

#include "effect/dsp/maths/bits.h"

namespace tovrel::dsp::maths {

TOVREL_MATHS_INLINE double fusedMultiplyAdd(double a, double b, double c) {
    return std::fma(a, b, c);
}

// The same as a policy for the maths templates (pow_detail::fifthPower).
struct LibraryFma {
    static TOVREL_MATHS_INLINE double apply(double a, double b, double c) {
        return fusedMultiplyAdd(a, b, c);
    }
};

}  // namespace tovrel::dsp::maths
