#include "effect/dsp/process.h"

#include "effect/dsp/fp_environment.h"
#include "effect/dsp/precision.h"
#include "effect/dsp/process_block.h"

namespace tovrel::dsp {

void processFloat(SignalState& state, float sampleRate, const ParameterSnapshot& parameters,
                  float** inputs, float** outputs, std::int32_t sampleFrames) {
    const FpEnvironmentGuard environment;
    processBlock<SinglePath>(state, sampleRate, parameters, inputs, outputs, sampleFrames);
}

void processDouble(SignalState& state, float sampleRate, const ParameterSnapshot& parameters,
                   double** inputs, double** outputs, std::int32_t sampleFrames) {
    const FpEnvironmentGuard environment;
    processBlock<DoublePath>(state, sampleRate, parameters, inputs, outputs, sampleFrames);
}

}  // namespace tovrel::dsp
