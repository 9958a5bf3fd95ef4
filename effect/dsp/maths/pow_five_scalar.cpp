#include "effect/dsp/maths/pow_five_scalar.h"

#include "effect/dsp/maths/pow_five.h"

namespace tovrel::dsp::maths {

#if defined(__x86_64__) && !defined(__FMA__)
namespace {

// The whole function is inlined here, so its fused multiply-adds become the instruction.
__attribute__((target("fma"))) double withFmaInstruction(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}

double withLibraryFma(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}

using Form = double (*)(double);

Form chooseForm() {
    __builtin_cpu_init();  // harmless if done already; needed if we run before it is
    return __builtin_cpu_supports("fma") ? withFmaInstruction : withLibraryFma;
}

// Chosen while the library loads; a call from an earlier initialiser still gets a right answer.
const Form chosenForm = chooseForm();

}  // namespace

double powFiveScalar(double x) {
    return chosenForm != nullptr ? chosenForm(x) : withLibraryFma(x);
}
#else
double powFiveScalar(double x) {
    return pow_detail::fifthPower<LibraryFma>(x);
}
#endif

}  // namespace tovrel::dsp::maths
