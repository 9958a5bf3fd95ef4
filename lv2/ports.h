// The LV2 face's ports: the five controls first, at their parameter indices, then the audio.
#pragma once

#include <cstdint>
#include <string>

#include "effect/parameter_table.h"

namespace tovrel::lv2 {

enum PortIndex : std::uint32_t {
    kInputLeft = kNumParameters,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    kNumPorts,
};

struct AudioPort {
    PortIndex index;
    const char* symbol;
    const char* name;
    bool output;
};

constexpr AudioPort kAudioPorts[] = {
    {kInputLeft, "in_left", "Left in", false},
    {kInputRight, "in_right", "Right in", false},
    {kOutputLeft, "out_left", "Left out", true},
    {kOutputRight, "out_right", "Right out", true},
};

// A control's symbol is its parameter name in lower case with everything but letters and digits
// left out: "Dry/Wet" becomes "drywet".
inline std::string controlSymbol(ParameterIndex index) {
    std::string symbol;
    for (const char* c = kParameterTable[index].name; *c != '\0'; ++c) {
        if (*c >= 'A' && *c <= 'Z') symbol += static_cast<char>(*c - 'A' + 'a');
        if ((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9')) symbol += *c;
    }
    return symbol;
}

}  // namespace tovrel::lv2
