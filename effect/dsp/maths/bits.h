// A double's 64-bit pattern and back, for the maths functions' table indexing and scaling.
#pragma once

#include <cstdint>

namespace tovrel::dsp::maths {

constexpr std::uint64_t bitsOf(double x) {
    return __builtin_bit_cast(std::uint64_t, x);
}

constexpr double fromBits(std::uint64_t bits) {
    return __builtin_bit_cast(double, bits);
}

inline constexpr std::uint64_t kSignBit = 0x8000000000000000u;
inline constexpr std::uint64_t kMagnitudeBits = 0x7fffffffffffffffu;
inline constexpr std::uint64_t kExponentField = 0x7ff0000000000000u;

}  // namespace tovrel::dsp::maths
