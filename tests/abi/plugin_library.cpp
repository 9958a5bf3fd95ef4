#include "plugin_library.h"

#include <dlfcn.h>

namespace tovrel::abi {

PluginLibrary::PluginLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

VstPluginMainProc PluginLibrary::entry(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<VstPluginMainProc>(dlsym(handle_, name));
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

}  // namespace tovrel::abi
