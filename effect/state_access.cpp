#include "effect/state_access.h"

#include "effect/tovrel.h"

namespace tovrel {

const dsp::SignalState& signalStateOf(const AEffect* record) {
    return static_cast<const Tovrel*>(static_cast<AudioEffect*>(record->object))->signalState();
}

}  // namespace tovrel
