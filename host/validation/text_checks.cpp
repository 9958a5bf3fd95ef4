// Identity and texts: every string within its published length, seen through a canary.
#include "audio.h"
#include "canary_text.h"
#include "check.h"
#include "frame/opcodes.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kParamTextBytes = kVstMaxParamStrLen + 1;

std::string dispatchedText(Instance& instance, const std::string& what, VstInt32 opcode, int limit,
                           VstInt32 index = 0) {
    noteStep(what);
    return checkedText(
        what, [&](char* text) { instance.dispatch(opcode, index, 0, text); }, limit);
}

Outcome identity(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    const std::string effect =
        dispatchedText(*instance, "effect name", effGetEffectName, kVstMaxEffectNameLen + 1);
    const std::string vendor =
        dispatchedText(*instance, "vendor string", effGetVendorString, kVstMaxVendorStrLen + 1);
    const std::string product =
        dispatchedText(*instance, "product string", effGetProductString, kVstMaxProductStrLen + 1);
    std::string empty;
    if (effect.empty()) empty += " effect name";
    if (vendor.empty()) empty += " vendor string";
    if (product.empty()) empty += " product string";
    if (!empty.empty()) return warned("empty:" + empty);
    return passed(quoted(effect) + " by " + quoted(vendor) + ", product " + quoted(product));
}

std::string parameterWhat(Instance& instance, VstInt32 index, const std::string& what) {
    return parameterTitle(instance, index) + " " + what;
}

Outcome parameterNames(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    std::string unnamed;
    for (VstInt32 index = 0; index < instance->numParams(); ++index) {
        const std::string name = dispatchedText(*instance, parameterWhat(*instance, index, "name"),
                                                effGetParamName, kParamTextBytes, index);
        dispatchedText(*instance, parameterWhat(*instance, index, "label"), effGetParamLabel,
                       kParamTextBytes, index);
        if (name.empty() && unnamed.empty()) unnamed = std::to_string(index);
    }
    if (!unnamed.empty()) return warned("parameter " + unnamed + " has an empty name");
    return passed(std::to_string(instance->numParams()) + " parameters");
}

Outcome parameterDisplays(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    Noise noise(context.seed);
    for (VstInt32 index = 0; index < instance->numParams(); ++index) {
        const float initial = instance->parameter(index);
        const float values[] = {0.0f, 1.0f, initial, static_cast<float>(noise.uniform()),
                                static_cast<float>(noise.uniform())};
        for (float value : values) {
            instance->setParameter(index, value);
            dispatchedText(*instance,
                           parameterWhat(*instance, index, "display at " + std::to_string(value)),
                           effGetParamDisplay, kParamTextBytes, index);
        }
        instance->setParameter(index, initial);
    }
    return passed();
}

}  // namespace

void addTextChecks(std::vector<Check>& checks) {
    checks.push_back({"text.identity", 1, 20.0, identity});
    checks.push_back({"text.parameter-names", 1, 30.0, parameterNames});
    checks.push_back({"text.parameter-displays", 2, 60.0, parameterDisplays});
}

}  // namespace tovrel::validation
