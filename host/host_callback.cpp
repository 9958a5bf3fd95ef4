#include "host_callback.h"

#include <cstring>

#include "frame/opcodes.h"

namespace tovrel {
namespace {

thread_local HostState* loadingState = nullptr;

const HostState& stateOf(const AEffect* effect) {
    static const HostState defaults;
    if (effect != nullptr && effect->resvd1 != 0) {
        return *reinterpret_cast<const HostState*>(effect->resvd1);
    }
    return loadingState != nullptr ? *loadingState : defaults;
}

// The plug-in's buffer is at least this long by the protocol (64 characters and a terminator).
VstIntPtr copyHostString(void* destination, const char* text) {
    if (destination == nullptr) return 0;
    auto* out = static_cast<char*>(destination);
    std::strncpy(out, text, kVstMaxVendorStrLen);
    out[kVstMaxVendorStrLen] = '\0';
    return 1;
}

}  // namespace

bool hostCanDo(const char* capability) {
    // Only what the render loop really does; time information is not offered.
    static const char* const supported[] = {"startStopProcess"};
    if (capability == nullptr) return false;
    for (const char* text : supported) {
        if (std::strcmp(capability, text) == 0) return true;
    }
    return false;
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 /*index*/,
                                   VstIntPtr /*value*/, void* ptr, float /*opt*/) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVstVersion;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(stateOf(effect).sampleRate);
        case audioMasterGetBlockSize:
            return stateOf(effect).blockSize;
        case audioMasterGetVendorString:
            return copyHostString(ptr, kHostVendor);
        case audioMasterGetProductString:
            return copyHostString(ptr, kHostProduct);
        case audioMasterGetVendorVersion:
            return kHostVendorVersion;
        case audioMasterCanDo:
            return hostCanDo(static_cast<const char*>(ptr)) ? 1 : 0;
        case audioMasterGetCurrentProcessLevel:
            return kVstProcessLevelOffline;
        default:
            return 0;
    }
}

void attachHostState(AEffect& effect, HostState& state) {
    effect.resvd1 = reinterpret_cast<VstIntPtr>(&state);
}

LoadingScope::LoadingScope(HostState& state) : previous_(loadingState) {
    loadingState = &state;
}

LoadingScope::~LoadingScope() {
    loadingState = previous_;
}

}  // namespace tovrel
