// A host callback that records every call it receives and answers like a plain host.
#pragma once

#include <vector>

#include "frame/aeffect.h"

namespace tovrel::abi {

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

struct RecordingHost {
    static std::vector<HostCall> calls;
    static VstIntPtr versionAnswer;
    static void reset(VstIntPtr version = 2400);
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
};

}  // namespace tovrel::abi
