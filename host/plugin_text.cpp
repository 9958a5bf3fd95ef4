#include "plugin_text.h"

#include <array>

#include "frame/opcodes.h"

namespace tovrel {
namespace {

constexpr std::size_t kTextBuffer = 512;

std::string ask(Plugin& plugin, VstInt32 opcode, VstInt32 index = 0) {
    std::array<char, kTextBuffer> text{};
    plugin.dispatch(opcode, index, 0, text.data());
    text.back() = '\0';
    return text.data();
}

}  // namespace

std::string effectName(Plugin& plugin) {
    return ask(plugin, effGetEffectName);
}
std::string vendorString(Plugin& plugin) {
    return ask(plugin, effGetVendorString);
}
std::string productString(Plugin& plugin) {
    return ask(plugin, effGetProductString);
}
std::string programName(Plugin& plugin) {
    return ask(plugin, effGetProgramName);
}

std::string parameterName(Plugin& plugin, VstInt32 index) {
    return ask(plugin, effGetParamName, index);
}

std::string parameterLabel(Plugin& plugin, VstInt32 index) {
    return ask(plugin, effGetParamLabel, index);
}

std::string parameterDisplay(Plugin& plugin, VstInt32 index) {
    return ask(plugin, effGetParamDisplay, index);
}

VstIntPtr pluginCanDo(Plugin& plugin, const std::string& capability) {
    std::string text = capability;  // the request takes a non-const pointer
    return plugin.dispatch(effCanDo, 0, 0, text.data());
}

}  // namespace tovrel
