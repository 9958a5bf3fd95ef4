#include "effect/dsp/maths/fused_multiply_add.h"

namespace tovrel::dsp::maths {

#if defined(TOVREL_FMA_BY_PROCESSOR)
namespace {

bool processorHasFma() {
    __builtin_cpu_init();  // harmless if done already; needed if we run before it is
    return __builtin_cpu_supports("fma");
}

}  // namespace

const bool kProcessorFma = processorHasFma();

double fusedMultiplyAddWithoutInstruction(double a, double b, double c) {
    return softwareFusedMultiplyAdd(a, b, c);
}
#endif

}  // namespace tovrel::dsp::maths
