// Capability texts, exported for effects and hosts to compare against; the frame compares
// none of them itself. Identical texts share one string.
#pragma once

#include "frame/export.h"

namespace HostCanDos {
TOVREL_EXPORT extern const char* const canDoSendVstEvents;
TOVREL_EXPORT extern const char* const canDoSendVstMidiEvent;
TOVREL_EXPORT extern const char* const canDoSendVstTimeInfo;
TOVREL_EXPORT extern const char* const canDoReceiveVstEvents;
TOVREL_EXPORT extern const char* const canDoReceiveVstMidiEvent;
TOVREL_EXPORT extern const char* const canDoReportConnectionChanges;
TOVREL_EXPORT extern const char* const canDoAcceptIOChanges;
TOVREL_EXPORT extern const char* const canDoSizeWindow;
TOVREL_EXPORT extern const char* const canDoOffline;
TOVREL_EXPORT extern const char* const canDoOpenFileSelector;
TOVREL_EXPORT extern const char* const canDoCloseFileSelector;
TOVREL_EXPORT extern const char* const canDoStartStopProcess;
TOVREL_EXPORT extern const char* const canDoShellCategory;
TOVREL_EXPORT extern const char* const canDoSendVstMidiEventFlagIsRealtime;
}  // namespace HostCanDos

namespace PlugCanDos {
TOVREL_EXPORT extern const char* const canDoSendVstEvents;
TOVREL_EXPORT extern const char* const canDoSendVstMidiEvent;
TOVREL_EXPORT extern const char* const canDoReceiveVstEvents;
TOVREL_EXPORT extern const char* const canDoReceiveVstMidiEvent;
TOVREL_EXPORT extern const char* const canDoReceiveVstTimeInfo;
TOVREL_EXPORT extern const char* const canDoOffline;
TOVREL_EXPORT extern const char* const canDoMidiProgramNames;
TOVREL_EXPORT extern const char* const canDoBypass;
}  // namespace PlugCanDos
