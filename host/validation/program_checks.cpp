// Programs, where the plug-in has them: switching, names, and coming back to the current one.
#include <algorithm>
#include <vector>

#include "canary_text.h"
#include "check.h"
#include "frame/opcodes.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kProgramNameBytes = kVstMaxProgNameLen + 1;
constexpr VstInt32 kMostPrograms = 128;  // enough to find a fault, cheap for large banks

std::vector<float> allParameters(Instance& instance) {
    std::vector<float> values;
    for (VstInt32 i = 0; i < instance.numParams(); ++i) values.push_back(instance.parameter(i));
    return values;
}

Outcome switching(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (instance->numPrograms() == 0) return skipped("the plug-in has no programs");
    const VstIntPtr original = instance->dispatch(effGetProgram);
    const std::vector<float> originalValues = allParameters(*instance);
    const VstInt32 count = std::min(instance->numPrograms(), kMostPrograms);
    for (VstInt32 program = 0; program < count; ++program) {
        const std::string what = "program " + std::to_string(program);
        noteStep("switching to " + what);
        instance->dispatch(effSetProgram, 0, program);
        const VstIntPtr now = instance->dispatch(effGetProgram);
        if (now != program) {
            return failed(
                "effSetProgram " + std::to_string(program) + ": " +
                expectedSeen("effGetProgram " + std::to_string(program), std::to_string(now)));
        }
        checkedText(
            what + " name", [&](char* text) { instance->dispatch(effGetProgramName, 0, 0, text); },
            kProgramNameBytes);
        checkedText(
            what + " indexed name",
            [&](char* text) { instance->dispatch(effGetProgramNameIndexed, program, -1, text); },
            kProgramNameBytes);
    }
    noteStep("restoring program " + std::to_string(original));
    instance->dispatch(effSetProgram, 0, original);
    if (instance->dispatch(effGetProgram) != original) {
        return failed(expectedSeen("program " + std::to_string(original) + " restored",
                                   "program " + std::to_string(instance->dispatch(effGetProgram))));
    }
    const std::vector<float> values = allParameters(*instance);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] != originalValues[i]) {
            return warned(parameterTitle(*instance, static_cast<VstInt32>(i)) + ": " +
                          expectedSeen(std::to_string(originalValues[i]) +
                                           " after coming back to program " +
                                           std::to_string(original),
                                       std::to_string(values[i])));
        }
    }
    return passed(std::to_string(instance->numPrograms()) + " programs");
}

Outcome naming(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (instance->numPrograms() == 0) return skipped("the plug-in has no programs");
    char name[kProgramNameBytes] = "Validated";
    noteStep("effSetProgramName");
    instance->dispatch(effSetProgramName, 0, 0, name);
    const std::string seen = checkedText(
        "program name", [&](char* text) { instance->dispatch(effGetProgramName, 0, 0, text); },
        kProgramNameBytes);
    if (seen != name) {
        return warned(expectedSeen("the name set back, " + quoted(name), quoted(seen)));
    }
    return passed();
}

}  // namespace

void addProgramChecks(std::vector<Check>& checks) {
    checks.push_back({"programs.switching", 3, 60.0, switching});
    checks.push_back({"programs.names", 3, 20.0, naming});
}

}  // namespace tovrel::validation
