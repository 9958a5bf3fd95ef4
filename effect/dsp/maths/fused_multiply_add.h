// The one fused multiply-add of the signal path's own maths and of the double-double emulation:
// a * b + c rounded once. glibc's std::fma is correctly rounded (the instruction, or an exact
// software routine where the processor lacks one), and so is the instruction of every processor
// that has one; mingw-w64's library fma is not, so a Windows build for any processor carries its
// own. On an x86 processor without the instruction, glibc's exact routine takes about six times
// as long as ours, so the choice is made by the processor there. The tests in tests/dsp/maths hold
// each target's library and this function to an exact reference.
#pragma once

#include <cmath>

#include "effect/dsp/maths/bits.h"
#include "effect/dsp/maths/software_fma.h"

namespace tovrel::dsp::maths {

#if (defined(__x86_64__) || defined(__i386__)) && !defined(__FMA__) && !defined(__MINGW32__)
#define TOVREL_FMA_BY_PROCESSOR 1
// Whether the processor has the instruction (and so glibc's fma uses it); false until the library
// has loaded, which only costs time.
extern const bool kProcessorFma;
// The integer routine, out of line.
double fusedMultiplyAddWithoutInstruction(double a, double b, double c);
#endif

TOVREL_MATHS_INLINE double fusedMultiplyAdd(double a, double b, double c) {
#if defined(__MINGW32__) && !defined(__FMA__)
    return softwareFusedMultiplyAdd(a, b, c);
#elif defined(TOVREL_FMA_BY_PROCESSOR)
    return kProcessorFma ? std::fma(a, b, c) : fusedMultiplyAddWithoutInstruction(a, b, c);
#else
    return std::fma(a, b, c);
#endif
}

// The same as a policy for the maths templates (pow_detail::fifthPower).
struct LibraryFma {
    static TOVREL_MATHS_INLINE double apply(double a, double b, double c) {
        return fusedMultiplyAdd(a, b, c);
    }
};

}  // namespace tovrel::dsp::maths
