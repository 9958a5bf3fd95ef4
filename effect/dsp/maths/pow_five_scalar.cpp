#include "effect/dsp/maths/pow_five_scalar.h"

#include "effect/dsp/maths/pow_five.h"

namespace tovrel::dsp::maths {

// Without the vector kernel (TOVREL_VECTOR_KERNEL off) nothing is built for FMA: the build is
// the portable path alone, as a processor without FMA runs it.
#if defined(__x86_64__) && !defined(__FMA__) && defined(TOVREL_VECTOR_KERNEL)
namespace {

// Inlined whole into a function built for FMA, this becomes the instruction (never the library
// call, which may be a slow or, on some systems, an inexact software routine).
struct InstructionFma {
    static TOVREL_MATHS_INLINE double apply(double a, double b, double c) {
        return __builtin_fma(a, b, c);
    }
};

__attribute__((target("fma"))) double withFmaInstruction(double x) {
    return pow_detail::fifthPower<InstructionFma>(x);
}

double withPortableFma(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}

using Form = double (*)(double);

Form chooseForm() {
    __builtin_cpu_init();  // harmless if done already; needed if we run before it is
    return __builtin_cpu_supports("fma") ? withFmaInstruction : withPortableFma;
}

// Chosen while the library loads; a call from an earlier initialiser still gets a right answer.
const Form chosenForm = chooseForm();

}  // namespace

double powFiveScalar(double x) {
    return chosenForm != nullptr ? chosenForm(x) : withPortableFma(x);
}
#else
double powFiveScalar(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}
#endif

}  // namespace tovrel::dsp::maths
