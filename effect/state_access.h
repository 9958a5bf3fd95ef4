// Test-only view of an instance's signal state through its record; linked into test programs,
// never exported from the plug-in binary.
#pragma once

#include "effect/dsp/signal_state.h"
#include "frame/aeffect.h"

namespace tovrel {

const dsp::SignalState& signalStateOf(const AEffect* record);

}  // namespace tovrel
