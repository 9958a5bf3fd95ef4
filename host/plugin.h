// One plug-in instance, met only through its record and dispatcher, as a DAW meets it.
#pragma once

#include <memory>
#include <string>

#include "frame/aeffect.h"
#include "host_callback.h"
#include "plugin_module.h"

namespace tovrel {

class Plugin {
  public:
    // Loads a plug-in file and creates one instance.
    static std::unique_ptr<Plugin> open(const std::string& path);
    // Creates an instance from an entry point linked into this program (no file to load).
    static std::unique_ptr<Plugin> open(VstPluginMainProc entry, const std::string& name);

    ~Plugin();  // sends the close request, then unloads the file
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    AEffect& record() { return *effect_; }
    const AEffect& record() const { return *effect_; }
    HostState& hostState() { return *state_; }
    const std::string& name() const { return name_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    bool hasFlag(VstInt32 flag) const { return (effect_->flags & flag) != 0; }
    float parameter(VstInt32 index);
    void setParameter(VstInt32 index, float value);

  private:
    Plugin(std::unique_ptr<PluginModule> module, VstPluginMainProc entry, std::string name);

    std::unique_ptr<PluginModule> module_;  // declared first so it is unloaded last
    std::unique_ptr<HostState> state_;      // stays put: the record points at it
    AEffect* effect_ = nullptr;
    std::string name_;
};

}  // namespace tovrel
