// Turns the user's "NAME=VALUE" or "INDEX=VALUE" into a parameter index and a value.
#pragma once

#include <string>

#include "plugin.h"

namespace tovrel {

struct ParameterAssignment {
    VstInt32 index = 0;
    float value = 0.0f;
};

// Index of the parameter the key names: an all-digit key is an index, anything else a name
// compared without regard to case or surrounding spaces. Throws HostError when none matches.
VstInt32 findParameter(Plugin& plugin, const std::string& key);

// Parses "KEY=VALUE" against the plug-in. Values are normalised 0 to 1; others are refused
// unless allowOutOfRange.
ParameterAssignment parseAssignment(Plugin& plugin, const std::string& text, bool allowOutOfRange);

}  // namespace tovrel
