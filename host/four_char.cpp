#include "four_char.h"

#include <cstdint>
#include <cstdio>

namespace tovrel {

std::string fourCharText(VstInt32 code) {
    const auto bits = static_cast<std::uint32_t>(code);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((bits >> shift) & 0xFFu);
        if (c < 0x20 || c > 0x7E) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(bits));
            return hex;
        }
        text += static_cast<char>(c);
    }
    return text;
}

}  // namespace tovrel
