// A double's 64-bit pattern and back, for the maths functions' table indexing and scaling.
#pragma once

#include <cstdint>

// The maths functions' pieces are always inlined: a caller built for other instructions (the
// vector kernel) then leaves no out-of-line copy behind that a linker could share with the
// portable code.
#define TOVREL_MATHS_INLINE inline __attribute__((always_inline))

namespace tovrel::dsp::maths {

TOVREL_MATHS_INLINE constexpr std::uint64_t bitsOf(double x) {
    return __builtin_bit_cast(std::uint64_t, x);
}

TOVREL_MATHS_INLINE constexpr double fromBits(std::uint64_t bits) {
    return __builtin_bit_cast(double, bits);
}

inline constexpr std::uint64_t kSignBit = 0x8000000000000000u;
inline constexpr std::uint64_t kMagnitudeBits = 0x7fffffffffffffffu;
inline constexpr std::uint64_t kExponentField = 0x7ff0000000000000u;

}  // namespace tovrel::dsp::maths
