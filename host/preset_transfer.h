// Moves presets between files and a running plug-in: the chunk form for plug-ins that
// declare programs as chunks, the list of values otherwise.
#pragma once

#include <string>

#include "fx_preset.h"
#include "plugin.h"

namespace tovrel {

// The current program, as a DAW would save it to an .fxp.
FxProgram captureProgram(Plugin& plugin);
// The whole bank, as a DAW would save it to an .fxb.
FxBank captureBank(Plugin& plugin);

// Loads a parsed preset into the plug-in. The file must belong to this plug-in (same unique
// ID); `source` names the file in error messages.
void applyPreset(Plugin& plugin, const PresetFile& preset, const std::string& source);

// Reading and writing preset files; writing goes through a temporary file and a rename.
PresetFile readPresetFile(const std::string& path);
void writePresetFile(const std::string& path, const Bytes& bytes);

}  // namespace tovrel
