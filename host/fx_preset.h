// VST 2 program (.fxp) and bank (.fxb) files as DAWs exchange them. Pure data: applying a
// preset to a plug-in lives in preset_transfer.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "frame/aeffect.h"

namespace tovrel {

using Bytes = std::vector<unsigned char>;

struct FxProgram {
    VstInt32 pluginId = 0;
    VstInt32 pluginVersion = 0;
    std::string name;             // at most 28 characters
    bool opaque = false;          // true: "FPCh" with a chunk; false: "FxCk" with values
    VstInt32 parameterCount = 0;  // the header's count; for "FxCk" the number of values
    std::vector<float> values;    // "FxCk"
    Bytes chunk;                  // "FPCh"
};

struct FxBank {
    VstInt32 pluginId = 0;
    VstInt32 pluginVersion = 0;
    bool opaque = false;              // true: "FBCh" with a chunk; false: "FxBk" with programs
    VstInt32 programCount = 0;        // as the file states it
    std::vector<FxProgram> programs;  // "FxBk"
    Bytes chunk;                      // "FBCh"
};

using PresetFile = std::variant<FxProgram, FxBank>;

// Parses a whole file; every length is checked against the bytes given, so a truncated or
// hostile file is refused with a HostError instead of being read past its end.
PresetFile parsePreset(const Bytes& file);

Bytes serializeProgram(const FxProgram& program);
Bytes serializeBank(const FxBank& bank);

VstInt32 presetPluginId(const PresetFile& preset);

}  // namespace tovrel
