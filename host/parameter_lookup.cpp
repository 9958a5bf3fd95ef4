#include "parameter_lookup.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "host_error.h"
#include "plugin_text.h"
#include "text_fields.h"

namespace tovrel {
namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

VstInt32 indexFromDigits(Plugin& plugin, const std::string& key) {
    const VstInt32 count = plugin.record().numParams;
    // Compare as text length first so a huge number cannot overflow the conversion.
    if (key.size() > 9 || std::atol(key.c_str()) >= count) {
        throw HostError("no parameter with index " + key + " (the plug-in has " +
                        std::to_string(count) + " parameters)");
    }
    return static_cast<VstInt32>(std::atol(key.c_str()));
}

float parseValue(const std::string& text, const std::string& whole) {
    const std::optional<double> parsed = finiteNumber(trimmed(text));
    if (!parsed) {
        throw HostError("malformed value in '" + whole + "': expected a number such as 0.5");
    }
    return static_cast<float>(*parsed);
}

}  // namespace

VstInt32 findParameter(Plugin& plugin, const std::string& key) {
    const std::string wanted = lowered(trimmed(key));
    if (allDigits(wanted)) return indexFromDigits(plugin, wanted);
    for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
        if (lowered(trimmed(parameterName(plugin, i))) == wanted) return i;
    }
    throw HostError("unknown parameter '" + trimmed(key) + "' (see 'tovrel info' for the names)");
}

ParameterAssignment parseAssignment(Plugin& plugin, const std::string& text, bool allowOutOfRange) {
    const auto equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        throw HostError("malformed setting '" + text + "': expected NAME=VALUE or INDEX=VALUE");
    }
    ParameterAssignment assignment;
    assignment.value = parseValue(text.substr(equals + 1), text);
    assignment.index = findParameter(plugin, text.substr(0, equals));
    if (!allowOutOfRange && !(assignment.value >= 0.0f && assignment.value <= 1.0f)) {
        throw HostError("value out of range in '" + text +
                        "': parameters take 0 to 1 (use --allow-out-of-range to force)");
    }
    return assignment;
}

}  // namespace tovrel
