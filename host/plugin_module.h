// A loaded shared object and the entry point it exports.
#pragma once

#include <string>

#include "frame/aeffect.h"

namespace tovrel {

class PluginModule {
  public:
    // Loads the file; a file that cannot be loaded or exports no entry point is refused.
    explicit PluginModule(const std::string& path);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // VSTPluginMain, or the older name main that some frameworks still export alone.
    VstPluginMainProc entry() const { return entry_; }

  private:
    void* handle_ = nullptr;
    VstPluginMainProc entry_ = nullptr;
};

}  // namespace tovrel
