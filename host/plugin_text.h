// Texts a plug-in writes into host buffers, read defensively: plug-ins often write past the
// published limits, so every buffer is generous, zeroed and terminated by the host.
#pragma once

#include <string>

#include "plugin.h"

namespace tovrel {

std::string effectName(Plugin& plugin);
std::string vendorString(Plugin& plugin);
std::string productString(Plugin& plugin);
std::string programName(Plugin& plugin);
std::string parameterName(Plugin& plugin, VstInt32 index);
std::string parameterLabel(Plugin& plugin, VstInt32 index);
std::string parameterDisplay(Plugin& plugin, VstInt32 index);

// The plug-in's answer to a capability string: 1 yes, -1 no, 0 don't know.
VstIntPtr pluginCanDo(Plugin& plugin, const std::string& capability);

}  // namespace tovrel
