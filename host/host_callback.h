// The host side of the callback: answers a plug-in's questions as a plain offline host.
#pragma once

#include "frame/aeffect.h"

namespace tovrel {

// What a plug-in may ask about the run; one per loaded instance.
struct HostState {
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 512;
};

// Identity the host reports about itself.
inline constexpr const char* kHostVendor = "fellmarrow";
inline constexpr const char* kHostProduct = "tovrel";
inline constexpr VstInt32 kHostVendorVersion = 1000;
inline constexpr VstInt32 kHostVstVersion = 2400;

// The callback handed to every entry point. It finds the instance's HostState through the
// record's host-reserved field, or through the state being loaded while the entry runs.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

// Ties a record to its state once the entry point has returned it.
void attachHostState(AEffect& effect, HostState& state);

// Marks the state a plug-in under construction belongs to (its record is not known yet).
class LoadingScope {
  public:
    explicit LoadingScope(HostState& state);
    ~LoadingScope();
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

  private:
    HostState* previous_;
};

// True for the capability strings this host really supports.
bool hostCanDo(const char* capability);

}  // namespace tovrel
