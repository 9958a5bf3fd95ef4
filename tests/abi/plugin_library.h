// A loaded plug-in binary and its entry point, closed again on destruction.
#pragma once

#include <string>

#include "frame/aeffect.h"

namespace tovrel::abi {

class PluginLibrary {
  public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    // The entry under the given name, or null.
    VstPluginMainProc entry(const char* name) const;

  private:
    void* handle_;
};

// Sends a request through the record's dispatcher.
VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);

}  // namespace tovrel::abi
