// The signal path's entry points: one processing call of each precision. Both share the state,
// so a host may switch precision between calls and the filters and noise carry on.
#pragma once

#include <cstdint>

#include "effect/dsp/signal_state.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp {

// Expects two input and two output channels of sampleFrames samples each; an input may be the
// same buffer as an output. A count of zero or less only refreshes the filter design. The
// workspace belongs to the same instance as the state; its contents carry nothing between calls.
void processFloat(SignalState& state, Workspace& workspace, float sampleRate,
                  const ParameterSnapshot& parameters, float** inputs, float** outputs,
                  std::int32_t sampleFrames);
void processDouble(SignalState& state, Workspace& workspace, float sampleRate,
                   const ParameterSnapshot& parameters, double** inputs, double** outputs,
                   std::int32_t sampleFrames);

}  // namespace tovrel::dsp
