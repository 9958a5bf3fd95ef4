// Names and defaults of the five host parameters, in index order.
#pragma once

namespace tovrel {

struct ParameterInfo {
    const char* name;
    float defaultValue;
};

constexpr ParameterInfo kParameterTable[] = {
    {"Trim", 0.1f}, {"Hi", 0.5f}, {"Lo", 0.5f}, {"Gain", 1.0f}, {"Dry/Wet", 1.0f},
};

}  // namespace tovrel
