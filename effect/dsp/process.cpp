#include "effect/dsp/process.h"

#include <algorithm>

#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/number/fp_environment.h"
#include "effect/dsp/process_block.h"
#include "effect/dsp/vector/kernel.h"

namespace tovrel::dsp {
namespace {

#if defined(TOVREL_VECTOR_KERNEL)

// The scalar output stage for one frame of a chunk whose chain outputs the kernel left in the
// workspace: both channels, with the dry samples as the chain saw them. Both inputs are read
// before either output is written, as in every frame.
template <typename Path>
void finishFrameScalar(SignalState& state, const BlockValues& values, const Workspace& workspace,
                       int frame, const typename Path::Sample* const inputs[2],
                       typename Path::Sample* const outputs[2]) {
    const typename Path::Sample in[2] = {inputs[0][frame], inputs[1][frame]};
    typename Path::Sample out[2];
    for (int lane = 0; lane < 2; ++lane) {
        ChannelState<DoubleDouble> c = channelOf(state, lane == 0 ? Channel::Left : Channel::Right);
        const DoubleDouble dry = widen(substituteTinyInput<Path>(in[lane], c.fpd));
        const DoubleDouble wet =
            makeDoubleDouble(workspace.wetHigh[frame][lane], workspace.wetLow[frame][lane]);
        out[lane] = finishSample<Path>(c, values, wet, dry);
    }
    outputs[0][frame] = out[0];
    outputs[1][frame] = out[1];
}

// Chunk by chunk through the both-channels kernel. Every place the scalar way takes over is
// here: a chunk whose chain the kernel cannot compute exactly (a special case of the arithmetic
// somewhere in it) runs whole from the same starting state, and a frame whose output stage meets
// one is finished here before the kernel resumes after it.
template <typename Path>
void processChunks(SignalState& state, Workspace& workspace, const BlockValues& values,
                   typename Path::Sample* const* inputs, typename Path::Sample* const* outputs,
                   std::int32_t sampleFrames) {
    using Sample = typename Path::Sample;
    for (std::int32_t first = 0; first < sampleFrames; first += kChunkFrames) {
        const std::int32_t count = std::min<std::int32_t>(kChunkFrames, sampleFrames - first);
        const Sample* const in[2] = {inputs[0] + first, inputs[1] + first};
        Sample* const out[2] = {outputs[0] + first, outputs[1] + first};
        if (!vector::runChain(state, values, in[0], in[1], count, workspace)) {
            processFrames<Path>(state, values, inputs, outputs, first, count);
            continue;
        }
        for (int i = vector::finish(state, values, in, out, 0, count, workspace); i < count;
             i = vector::finish(state, values, in, out, i + 1, count, workspace)) {
            finishFrameScalar<Path>(state, values, workspace, i, in, out);
        }
    }
}

#endif

template <typename Path>
void process(SignalState& state, Workspace& workspace, float sampleRate,
             const ParameterSnapshot& parameters, typename Path::Sample* const* inputs,
             typename Path::Sample* const* outputs, std::int32_t sampleFrames) {
    const FpEnvironmentGuard environment;
    const BlockValues values = prepareBlock(state, sampleRate, parameters);
#if defined(TOVREL_VECTOR_KERNEL)
    if (workspace.vectorKernel && vector::suits(state)) {
        processChunks<Path>(state, workspace, values, inputs, outputs, sampleFrames);
        return;
    }
#else
    static_cast<void>(workspace);  // only the scalar path here
#endif
    processFrames<Path>(state, values, inputs, outputs, 0, sampleFrames);
}

}  // namespace

void processFloat(SignalState& state, Workspace& workspace, float sampleRate,
                  const ParameterSnapshot& parameters, float** inputs, float** outputs,
                  std::int32_t sampleFrames) {
    process<SinglePath>(state, workspace, sampleRate, parameters, inputs, outputs, sampleFrames);
}

void processDouble(SignalState& state, Workspace& workspace, float sampleRate,
                   const ParameterSnapshot& parameters, double** inputs, double** outputs,
                   std::int32_t sampleFrames) {
    process<DoublePath>(state, workspace, sampleRate, parameters, inputs, outputs, sampleFrames);
}

}  // namespace tovrel::dsp
