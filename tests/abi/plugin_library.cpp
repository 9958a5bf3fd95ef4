#include "plugin_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace tovrel::abi {

// The system loader, the way a host on this platform uses it.
#if defined(_WIN32)
PluginLibrary::PluginLibrary(const std::string& path) : handle_(LoadLibraryA(path.c_str())) {}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

VstPluginMainProc PluginLibrary::entry(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<VstPluginMainProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(handle_), name)));
}
#else
PluginLibrary::PluginLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

VstPluginMainProc PluginLibrary::entry(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<VstPluginMainProc>(dlsym(handle_, name));
}
#endif

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

}  // namespace tovrel::abi
