// Decoding of the FPSCR-move family: primary opcode 63, extended opcode 583 (mffs), told apart
// by the field in instruction bits 11 to 15.
#pragma once

#include <cstdint>

namespace tovrel::ppc {

constexpr std::uint32_t primaryOpcode(std::uint32_t word) {
    return word >> 26;
}
constexpr std::uint32_t extendedOpcode(std::uint32_t word) {
    return (word >> 1) & 0x3ffu;
}
constexpr std::uint32_t variantField(std::uint32_t word) {
    return (word >> 16) & 0x1fu;
}
constexpr int targetRegister(std::uint32_t word) {
    return static_cast<int>((word >> 21) & 0x1fu);
}

// mffsce (1), mffscdrn (20), mffscdrni (21), mffscrn (22), mffscrni (23), mffsl (24); plain mffs
// (0) is legal everywhere and needs no help. None of them has a record form.
constexpr bool isFpscrMoveVariant(std::uint32_t word) {
    if (primaryOpcode(word) != 63 || extendedOpcode(word) != 583 || (word & 1u) != 0) return false;
    const std::uint32_t variant = variantField(word);
    return variant == 1 || (variant >= 20 && variant <= 24);
}

}  // namespace tovrel::ppc
