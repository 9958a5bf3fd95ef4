// tovrel's --set parsing against the real plug-in: any text is an assignment or a HostError.
#include <cstdint>
#include <string>

#include "effect_host.h"
#include "host/host_error.h"
#include "host/parameter_lookup.h"
#include "host/plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto plugin = tovrel::Plugin::open(&VSTPluginMain, "Tovrel");
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        const auto assignment = tovrel::parseAssignment(*plugin, text, (data[0] & 1) != 0);
        if (assignment.index < 0 || assignment.index >= plugin->record().numParams) {
            __builtin_trap();
        }
    } catch (const tovrel::HostError&) {
    }
    return 0;
}
