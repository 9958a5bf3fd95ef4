// The .fxp/.fxb reader: any bytes are parsed or refused with a HostError, and what parses
// serialises into a file that parses again.
#include <cstdint>
#include <variant>

#include "host/fx_preset.h"
#include "host/host_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tovrel::Bytes file(data, data + size);
    tovrel::PresetFile preset;
    try {
        preset = tovrel::parsePreset(file);
    } catch (const tovrel::HostError&) {
        return 0;
    }
    const tovrel::Bytes again = std::holds_alternative<tovrel::FxProgram>(preset)
                                    ? tovrel::serializeProgram(std::get<tovrel::FxProgram>(preset))
                                    : tovrel::serializeBank(std::get<tovrel::FxBank>(preset));
    (void)tovrel::parsePreset(again);  // a HostError here escapes and is reported as a crash
    return 0;
}
