#include "effect/dsp/process.h"

#include <algorithm>

#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/number/fp_environment.h"
#include "effect/dsp/process_block.h"
#include "effect/dsp/vector/kernel.h"

namespace tovrel::dsp {
namespace {

#if defined(TOVREL_VECTOR_KERNEL)

// Chunk by chunk through the both-channels kernel; a chunk it cannot take exactly (a special
// case of the arithmetic somewhere in it) runs the scalar way from the same starting state.
template <typename Path>
void processChunks(SignalState& state, Workspace& workspace, const BlockValues& values,
                   typename Path::Sample* const* inputs, typename Path::Sample* const* outputs,
                   std::int32_t sampleFrames) {
    using Sample = typename Path::Sample;
    for (std::int32_t first = 0; first < sampleFrames; first += kChunkFrames) {
        const std::int32_t count = std::min<std::int32_t>(kChunkFrames, sampleFrames - first);
        const Sample* const in[2] = {inputs[0] + first, inputs[1] + first};
        Sample* const out[2] = {outputs[0] + first, outputs[1] + first};
        if (vector::runChain(state, values, in[0], in[1], count, workspace)) {
            vector::finish(state, values, in, out, count, workspace);
        } else {
            processFrames<Path>(state, values, inputs, outputs, first, count);
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
