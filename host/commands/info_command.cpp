#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "frame/opcodes.h"
#include "host/four_char.h"
#include "host/plugin_text.h"

namespace tovrel {
namespace {

const char* const kCategories[] = {"unknown",     "effect",      "synth",       "analysis",
                                   "mastering",   "spacializer", "room effect", "surround effect",
                                   "restoration", "offline",     "shell",       "generator"};

const std::pair<VstInt32, const char*> kFlagNames[] = {
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsExtIsAsync, "ExtIsAsync"},
    {effFlagsExtHasBuffer, "ExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

const char* const kCapabilities[] = {"sendVstEvents",
                                     "sendVstMidiEvent",
                                     "receiveVstEvents",
                                     "receiveVstMidiEvent",
                                     "receiveVstTimeInfo",
                                     "offline",
                                     "midiProgramNames",
                                     "bypass",
                                     "plugAsChannelInsert",
                                     "plugAsSend",
                                     "mixDryWet",
                                     "noRealTime",
                                     "multipass",
                                     "metapass",
                                     "1in1out",
                                     "1in2out",
                                     "2in1out",
                                     "2in2out",
                                     "2in4out",
                                     "4in2out",
                                     "4in4out",
                                     "4in8out",
                                     "8in4out",
                                     "8in8out",
                                     "x2in2out"};

std::string flagText(VstInt32 flags) {
    std::string text;
    for (const auto& [bit, name] : kFlagNames) {
        if ((flags & bit) != 0) text += (text.empty() ? "" : " ") + std::string(name);
    }
    return text.empty() ? "none" : text;
}

std::string categoryText(VstIntPtr category) {
    const auto count = static_cast<VstIntPtr>(sizeof kCategories / sizeof kCategories[0]);
    if (category >= 0 && category < count) return kCategories[category];
    return "category " + std::to_string(category);
}

const char* answerText(VstIntPtr answer) {
    if (answer > 0) return "yes";
    if (answer < 0) return "no";
    return "don't know";
}

void printIdentity(Plugin& plugin) {
    const AEffect& record = plugin.record();
    std::printf("Plug-in     %s\n", plugin.name().c_str());
    std::printf("Effect      %s\n", effectName(plugin).c_str());
    std::printf("Vendor      %s\n", vendorString(plugin).c_str());
    std::printf("Product     %s\n", productString(plugin).c_str());
    std::printf("Version     %ld (record version %d, VST %ld)\n",
                static_cast<long>(plugin.dispatch(effGetVendorVersion)), record.version,
                static_cast<long>(plugin.dispatch(effGetVstVersion)));
    std::printf("Unique ID   %s\n", fourCharText(record.uniqueID).c_str());
    std::printf("Category    %s\n", categoryText(plugin.dispatch(effGetPlugCategory)).c_str());
    std::printf("Flags       %s\n", flagText(record.flags).c_str());
    std::printf("Channels    %d in, %d out\n", record.numInputs, record.numOutputs);
    std::printf("Programs    %d\n", record.numPrograms);
    std::printf("Latency     %d samples\n", record.initialDelay);
}

void printParameters(Plugin& plugin) {
    std::printf("Parameters  %d\n", plugin.record().numParams);
    for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
        std::printf("  %3d  %-24s %-8s %10.6f  %s\n", i, parameterName(plugin, i).c_str(),
                    parameterLabel(plugin, i).c_str(), static_cast<double>(plugin.parameter(i)),
                    parameterDisplay(plugin, i).c_str());
    }
}

void printCapabilities(Plugin& plugin) {
    std::printf("Can do\n");
    for (const char* capability : kCapabilities) {
        std::printf("  %-22s %s\n", capability, answerText(pluginCanDo(plugin, capability)));
    }
}

// The same facts as the text, for programs to read.
nlohmann::ordered_json infoJson(Plugin& plugin) {
    const AEffect& record = plugin.record();
    nlohmann::ordered_json flags = nlohmann::ordered_json::array(),
                           parameters = nlohmann::ordered_json::array();
    nlohmann::ordered_json canDo = nlohmann::ordered_json::object();
    for (const auto& [bit, name] : kFlagNames) {
        if ((record.flags & bit) != 0) flags.push_back(name);
    }
    for (VstInt32 i = 0; i < record.numParams; ++i) {
        parameters.push_back({{"index", i},
                              {"name", parameterName(plugin, i)},
                              {"label", parameterLabel(plugin, i)},
                              {"value", plugin.parameter(i)},
                              {"display", parameterDisplay(plugin, i)}});
    }
    for (const char* capability : kCapabilities) {
        canDo[capability] = answerText(pluginCanDo(plugin, capability));
    }
    return {{"plugin", plugin.name()},
            {"effect", effectName(plugin)},
            {"vendor", vendorString(plugin)},
            {"product", productString(plugin)},
            {"vendorVersion", plugin.dispatch(effGetVendorVersion)},
            {"recordVersion", record.version},
            {"vstVersion", plugin.dispatch(effGetVstVersion)},
            {"uniqueId", fourCharText(record.uniqueID)},
            {"uniqueIdNumber", record.uniqueID},
            {"category", categoryText(plugin.dispatch(effGetPlugCategory))},
            {"flags", flags},
            {"inputs", record.numInputs},
            {"outputs", record.numOutputs},
            {"programs", record.numPrograms},
            {"latencySamples", record.initialDelay},
            {"parameters", parameters},
            {"canDo", canDo}};
}

}  // namespace

void InfoCommand::add(CLI::App& parent) {
    app = parent.add_subcommand("info", "show the plug-in's identity, parameters and abilities");
    app->add_flag("--json", json, "print the same as one JSON document");
}

void InfoCommand::run(const GlobalOptions& global) {
    auto plugin = loadPlugin(global);
    if (json) {
        std::printf("%s\n", infoJson(*plugin).dump(2).c_str());
        return;
    }
    printIdentity(*plugin);
    printParameters(*plugin);
    printCapabilities(*plugin);
}

}  // namespace tovrel
