// The portable side of the both-channels kernel: whether it may run.
#include <initializer_list>

#include "effect/dsp/vector/kernel.h"

namespace tovrel::dsp::vector {

bool available() {
#if defined(TOVREL_VECTOR_KERNEL)
    __builtin_cpu_init();  // harmless if done already; needed if we run before it is
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
           __builtin_cpu_supports("sse4.2");
#else
    return false;
#endif
}

bool suits(const SignalState& state) {
    for (const DoubleDouble* section :
         {state.lowpassA, state.lowpassB, state.lowpassC, state.lowpassD}) {
        for (int k : {kA0, kA1, kA2, kB1}) {
            if (lowWord(section[k]) != 0.0) return false;
        }
    }
    return true;
}

}  // namespace tovrel::dsp::vector

namespace tovrel::dsp {

Workspace::Workspace() : vectorKernel(vector::available()), wetHigh{}, wetLow{} {}

}  // namespace tovrel::dsp
