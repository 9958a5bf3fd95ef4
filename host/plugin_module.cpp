#include "plugin_module.h"

#include <dlfcn.h>

#include <cstdint>

#include "host_error.h"

namespace tovrel {
namespace {

VstPluginMainProc lookUpEntry(void* handle) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* symbol = dlsym(handle, name)) {
            // Function and object pointers share a representation on every POSIX system.
            return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<std::uintptr_t>(symbol));
        }
    }
    return nullptr;
}

}  // namespace

PluginModule::PluginModule(const std::string& path) {
    // A bare name would send dlopen searching the library path; a plug-in is always a file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load plug-in: " + std::string(reason ? reason : path));
    }
    entry_ = lookUpEntry(handle_);
    if (entry_ == nullptr) {
        dlclose(handle_);
        throw HostError("'" + path +
                        "' is not a VST 2.4 plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginModule::~PluginModule() {
    dlclose(handle_);
}

}  // namespace tovrel
