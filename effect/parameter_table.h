// The five host parameters by name: their indices, and their names and defaults in index order.
#pragma once

namespace tovrel {

enum ParameterIndex : int { kTrim, kHi, kLo, kGain, kDryWet, kNumParameters };

struct ParameterInfo {
    const char* name;
    float defaultValue;
};

constexpr ParameterInfo kParameterTable[kNumParameters] = {
    {"Trim", 0.1f}, {"Hi", 0.5f}, {"Lo", 0.5f}, {"Gain", 1.0f}, {"Dry/Wet", 1.0f},
};

}  // namespace tovrel
