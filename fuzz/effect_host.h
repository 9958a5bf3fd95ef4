// The plug-in linked into the fuzz target, created through its own entry point with a host
// callback that answers like tovrel's.
#pragma once

#include "frame/aeffect.h"
#include "host/host_callback.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

namespace tovrel::fuzz {

// A tiny host: the version question gets an answer, everything else 0.
inline VstIntPtr VSTCALLBACK fuzzHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                      float) {
    return opcode == 1 ? 2400 : 0;  // audioMasterVersion
}

class Effect {
  public:
    Effect() : effect_(VSTPluginMain(&fuzzHost)) { dispatch(0); }  // effOpen
    ~Effect() { dispatch(1); }                                     // effClose
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    AEffect* operator->() { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }

  private:
    AEffect* effect_;
};

}  // namespace tovrel::fuzz
