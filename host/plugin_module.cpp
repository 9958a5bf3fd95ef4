#include "plugin_module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdint>

#include "host_error.h"

namespace tovrel {
namespace {

// The system loader behind three calls: open a file, look up a name, close.
#if defined(_WIN32)
void* openLibrary(const std::string& path, std::string& reason) {
    // A bare name would send the loader searching its folders; a plug-in is always a file.
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    HMODULE module = nullptr;
    if (length > 0 && length < sizeof full) {
        module = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr)
        reason = path + " (Windows error " + std::to_string(GetLastError()) + ")";
    return module;
}

void* lookUp(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openLibrary(const std::string& path, std::string& reason) {
    // A bare name would send dlopen searching the library path; a plug-in is always a file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        reason = error ? error : path;
    }
    return handle;
}

void* lookUp(void* handle, const char* name) {
    return dlsym(handle, name);
}

void closeLibrary(void* handle) {
    dlclose(handle);
}
#endif

VstPluginMainProc lookUpEntry(void* handle) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* symbol = lookUp(handle, name)) {
            // Function and object pointers share a representation on every target we build.
            return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<std::uintptr_t>(symbol));
        }
    }
    return nullptr;
}

}  // namespace

PluginModule::PluginModule(const std::string& path) {
    std::string reason;
    handle_ = openLibrary(path, reason);
    if (handle_ == nullptr) throw HostError("cannot load plug-in: " + reason);
    entry_ = lookUpEntry(handle_);
    if (entry_ == nullptr) {
        closeLibrary(handle_);
        throw HostError("'" + path +
                        "' is not a VST 2.4 plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginModule::~PluginModule() {
    closeLibrary(handle_);
}

}  // namespace tovrel
