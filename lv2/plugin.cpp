// The LV2 face: ports in, the signal path's entry out. One instance owns one signal state and its
// workspace, as the VST 2 class does, and hands each run to the same processing call.
#include <lv2/core/lv2.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "effect/dsp/process.h"
#include "effect/noise_seed.h"
#include "effect/parameter_table.h"
#include "lv2/identity.h"
#include "lv2/ports.h"

namespace tovrel::lv2 {
namespace {

struct Instance {
    dsp::SignalState state{};
    dsp::Workspace workspace;
    float sampleRate = 0.0f;
    // Drawn once at instantiation; activation starts the noise from them again.
    std::uint32_t seedL = 0, seedR = 0;
    // Where the host keeps each control's value; a control it has not connected stays at its
    // default.
    const float* controls[kNumParameters] = {};
    float* inputs[2] = {};
    float* outputs[2] = {};
};

LV2_Handle instantiate(const LV2_Descriptor* /*descriptor*/, double sampleRate,
                       const char* /*bundlePath*/, const LV2_Feature* const* /*features*/) {
    auto* instance = new (std::nothrow) Instance;
    if (instance == nullptr) return nullptr;
    // The VST 2 face reads its rate as a float too: the same rate gives the same bits.
    instance->sampleRate = static_cast<float>(sampleRate);
    instance->seedL = drawNoiseSeed();
    instance->seedR = drawNoiseSeed();
    instance->state.fpdL = instance->seedL;
    instance->state.fpdR = instance->seedR;
    return instance;
}

// A host re-activates to start afresh: silent filters and the noise from its seeds, so a second
// pass over the same audio sounds exactly as the first did.
void activate(LV2_Handle handle) {
    auto* instance = static_cast<Instance*>(handle);
    instance->state = dsp::SignalState{};
    instance->state.fpdL = instance->seedL;
    instance->state.fpdR = instance->seedR;
}

void connectPort(LV2_Handle handle, std::uint32_t port, void* data) {
    auto* instance = static_cast<Instance*>(handle);
    auto* samples = static_cast<float*>(data);
    if (port < kNumParameters) {
        instance->controls[port] = samples;
    } else if (port == kInputLeft || port == kInputRight) {
        instance->inputs[port - kInputLeft] = samples;
    } else if (port == kOutputLeft || port == kOutputRight) {
        instance->outputs[port - kOutputLeft] = samples;
    }
}

// Each control read once, so the whole run sees one setting even if the host writes meanwhile.
dsp::ParameterSnapshot readControls(const Instance& instance) {
    float value[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) {
        const float* port = instance.controls[i];
        value[i] = port != nullptr ? *port : kParameterTable[i].defaultValue;
    }
    return {value[kTrim], value[kHi], value[kLo], value[kGain], value[kDryWet]};
}

void run(LV2_Handle handle, std::uint32_t sampleCount) {
    auto* instance = static_cast<Instance*>(handle);
    float** in = instance->inputs;
    float** out = instance->outputs;
    if (in[0] == nullptr || in[1] == nullptr || out[0] == nullptr || out[1] == nullptr) return;
    const dsp::ParameterSnapshot parameters = readControls(*instance);
    // The entry counts in 32-bit signed frames; a longer run goes in pieces, which sound the same.
    constexpr std::uint32_t kLongestCall = 1u << 30;
    std::uint32_t done = 0;
    do {
        const std::uint32_t count = std::min(sampleCount - done, kLongestCall);
        float* pieceIn[2] = {in[0] + done, in[1] + done};
        float* pieceOut[2] = {out[0] + done, out[1] + done};
        dsp::processFloat(instance->state, instance->workspace, instance->sampleRate, parameters,
                          pieceIn, pieceOut, static_cast<std::int32_t>(count));
        done += count;
    } while (done < sampleCount);
}

void cleanup(LV2_Handle handle) {
    delete static_cast<Instance*>(handle);
}

// Hosts save control ports themselves, so there is no state (or any other) extension to offer.
const void* extensionData(const char* /*uri*/) {
    return nullptr;
}

const LV2_Descriptor kDescriptor = {
    kPluginUri, instantiate, connectPort, activate, run, nullptr, cleanup, extensionData,
};

}  // namespace
}  // namespace tovrel::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    return index == 0 ? &tovrel::lv2::kDescriptor : nullptr;
}
