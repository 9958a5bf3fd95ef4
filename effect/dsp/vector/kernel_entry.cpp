// The portable side of the both-channels kernel: whether it may run, and the scalar output
// stage it hands its special cases to.
#include "effect/dsp/channel_chain.h"
#include "effect/dsp/output_stage.h"
#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/vector/kernel.h"

namespace tovrel::dsp::vector {
namespace {

template <typename Path>
void finishFrameOf(SignalState& state, const BlockValues& values, const Workspace& workspace,
                   int frame, const typename Path::Sample* const inputs[2],
                   typename Path::Sample* const outputs[2]) {
    const double* high = workspace.wetHigh[frame];
    const double* low = workspace.wetLow[frame];
    ChannelState<DoubleDouble> left = channelOf(state, Channel::Left);
    ChannelState<DoubleDouble> right = channelOf(state, Channel::Right);
    const typename Path::Sample inL = inputs[0][frame];
    const typename Path::Sample inR = inputs[1][frame];
    // The dry samples as the chain saw them, before this frame's dither moves the noise on.
    const DoubleDouble dryL = widen(substituteTinyInput<Path>(inL, left.fpd));
    const DoubleDouble dryR = widen(substituteTinyInput<Path>(inR, right.fpd));
    outputs[0][frame] = finishSample<Path>(left, values, makeDoubleDouble(high[0], low[0]), dryL);
    outputs[1][frame] = finishSample<Path>(right, values, makeDoubleDouble(high[1], low[1]), dryR);
}

}  // namespace

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

void finishFrameExactly(SignalState& state, const BlockValues& values, const Workspace& workspace,
                        int frame, const float* const inputs[2], float* const outputs[2]) {
    finishFrameOf<SinglePath>(state, values, workspace, frame, inputs, outputs);
}

void finishFrameExactly(SignalState& state, const BlockValues& values, const Workspace& workspace,
                        int frame, const double* const inputs[2], double* const outputs[2]) {
    finishFrameOf<DoublePath>(state, values, workspace, frame, inputs, outputs);
}

}  // namespace tovrel::dsp::vector

namespace tovrel::dsp {

Workspace::Workspace() : vectorKernel(vector::available()), wetHigh{}, wetLow{} {}

}  // namespace tovrel::dsp
