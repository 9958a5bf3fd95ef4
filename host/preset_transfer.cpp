#include "preset_transfer.h"

#include <array>
#include <cstring>

#include "file_bytes.h"
#include "four_char.h"
#include "frame/opcodes.h"
#include "host_error.h"
#include "plugin_text.h"

namespace tovrel {
namespace {

constexpr VstInt32 kSingleProgram = 1;  // effGetChunk/effSetChunk index: one program
constexpr VstInt32 kWholeBank = 0;

Bytes takeChunk(Plugin& plugin, VstInt32 which) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, which, 0, &data);
    if (size <= 0 || data == nullptr) throw HostError("the plug-in gave no chunk to save");
    const auto* bytes = static_cast<const unsigned char*>(data);
    return Bytes(bytes, bytes + size);
}

void giveChunk(Plugin& plugin, VstInt32 which, const Bytes& chunk, const std::string& source) {
    if (!plugin.hasFlag(effFlagsProgramChunks)) {
        throw HostError("preset '" + source +
                        "' holds an opaque chunk but the plug-in does not take chunks");
    }
    if (chunk.empty()) throw HostError("damaged preset: '" + source + "' has an empty chunk");
    Bytes copy = chunk;  // the request takes a non-const pointer
    plugin.dispatch(effSetChunk, which, static_cast<VstIntPtr>(copy.size()), copy.data());
}

void setProgramName(Plugin& plugin, const std::string& name) {
    std::array<char, 64> text{};
    std::strncpy(text.data(), name.c_str(), kVstMaxProgNameLen);
    plugin.dispatch(effSetProgramName, 0, 0, text.data());
}

void applyProgram(Plugin& plugin, const FxProgram& program, const std::string& source) {
    plugin.dispatch(effBeginSetProgram);
    if (program.opaque) {
        giveChunk(plugin, kSingleProgram, program.chunk, source);
    } else {
        const auto count = static_cast<VstInt32>(program.values.size());
        if (count != plugin.record().numParams) {
            throw HostError("preset '" + source + "' has " + std::to_string(count) +
                            " parameters but the plug-in has " +
                            std::to_string(plugin.record().numParams));
        }
        for (VstInt32 i = 0; i < count; ++i) plugin.setParameter(i, program.values[i]);
    }
    setProgramName(plugin, program.name);
    plugin.dispatch(effEndSetProgram);
}

void applyBank(Plugin& plugin, const FxBank& bank, const std::string& source) {
    if (bank.opaque) {
        giveChunk(plugin, kWholeBank, bank.chunk, source);
        return;
    }
    // A plug-in without programs has just the current one: it takes the bank's first.
    const VstInt32 slots = std::max<VstInt32>(plugin.record().numPrograms, 1);
    const auto count = std::min(slots, static_cast<VstInt32>(bank.programs.size()));
    for (VstInt32 i = 0; i < count; ++i) {
        if (plugin.record().numPrograms > 0) plugin.dispatch(effSetProgram, 0, i);
        applyProgram(plugin, bank.programs[static_cast<std::size_t>(i)], source);
    }
    if (plugin.record().numPrograms > 0) plugin.dispatch(effSetProgram, 0, 0);
}

}  // namespace

FxProgram captureProgram(Plugin& plugin) {
    FxProgram program;
    program.pluginId = plugin.record().uniqueID;
    program.pluginVersion = static_cast<VstInt32>(plugin.dispatch(effGetVendorVersion));
    program.name = programName(plugin).substr(0, kVstMaxProgNameLen);
    program.parameterCount = plugin.record().numParams;
    program.opaque = plugin.hasFlag(effFlagsProgramChunks);
    if (program.opaque) {
        program.chunk = takeChunk(plugin, kSingleProgram);
    } else {
        for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
            program.values.push_back(plugin.parameter(i));
        }
    }
    return program;
}

FxBank captureBank(Plugin& plugin) {
    FxBank bank;
    bank.pluginId = plugin.record().uniqueID;
    bank.pluginVersion = static_cast<VstInt32>(plugin.dispatch(effGetVendorVersion));
    bank.opaque = plugin.hasFlag(effFlagsProgramChunks);
    if (bank.opaque) {
        bank.programCount = plugin.record().numPrograms;
        bank.chunk = takeChunk(plugin, kWholeBank);
        return bank;
    }
    const VstInt32 programs = plugin.record().numPrograms;
    if (programs == 0) {
        bank.programs.push_back(captureProgram(plugin));
        return bank;
    }
    const VstIntPtr current = plugin.dispatch(effGetProgram);
    for (VstInt32 i = 0; i < programs; ++i) {
        plugin.dispatch(effSetProgram, 0, i);
        bank.programs.push_back(captureProgram(plugin));
    }
    plugin.dispatch(effSetProgram, 0, current);
    return bank;
}

void applyPreset(Plugin& plugin, const PresetFile& preset, const std::string& source) {
    const VstInt32 fileId = presetPluginId(preset);
    if (fileId != plugin.record().uniqueID) {
        throw HostError("preset '" + source + "' is for plug-in '" + fourCharText(fileId) +
                        "', not for the loaded plug-in '" + fourCharText(plugin.record().uniqueID) +
                        "'");
    }
    if (const auto* program = std::get_if<FxProgram>(&preset)) {
        applyProgram(plugin, *program, source);
    } else {
        applyBank(plugin, std::get<FxBank>(preset), source);
    }
}

PresetFile readPresetFile(const std::string& path) {
    try {
        return parsePreset(readFileBytes(path));
    } catch (const HostError& error) {
        const std::string what = error.what();
        const std::string prefix = "damaged preset: ";
        if (what.compare(0, prefix.size(), prefix) != 0) throw;
        throw HostError("damaged preset '" + path + "': " + what.substr(prefix.size()));
    }
}

void writePresetFile(const std::string& path, const Bytes& bytes) {
    writeFileBytes(path, bytes);
}

}  // namespace tovrel
