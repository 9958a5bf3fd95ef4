// The dither's exponent arithmetic read straight from the bits: the exponent std::frexp and
// frexpf store, and the double std::pow(2.0, n) returns. Identical to the C library for every
// input (zeros, subnormals, infinities and NaNs included), without a library call per sample.
#pragma once

#include <cstdint>

namespace tovrel::dsp {

namespace exponent_detail {

// Number of significant bits of a nonzero value.
constexpr int bitLength(std::uint64_t v) {
    return 64 - __builtin_clzll(v);
}

// The frexp exponent of a value from its biased exponent and fraction fields, in a format whose
// exponent field is all ones at `special` and whose smallest subnormal is 2^-`tiniest`.
constexpr int frexpFromFields(int biased, std::uint64_t fraction, int special, int tiniest) {
    if (biased == special) return 0;  // infinities and NaNs: the C library stores 0
    if (biased != 0) return biased - (special / 2 - 1);
    if (fraction == 0) return 0;           // +-0
    return bitLength(fraction) - tiniest;  // subnormal: normalised by its leading one
}

}  // namespace exponent_detail

// e with x = m * 2^e and 0.5 <= |m| < 1; 0 for zeros, infinities and NaNs.
constexpr int frexpExponent(double x) {
    const auto bits = __builtin_bit_cast(std::uint64_t, x);
    return exponent_detail::frexpFromFields(static_cast<int>((bits >> 52) & 0x7ff),
                                            bits & ((std::uint64_t{1} << 52) - 1), 0x7ff, 1074);
}

constexpr int frexpExponent(float x) {
    const auto bits = __builtin_bit_cast(std::uint32_t, x);
    return exponent_detail::frexpFromFields(static_cast<int>((bits >> 23) & 0xff),
                                            bits & ((std::uint32_t{1} << 23) - 1), 0xff, 149);
}

// 2^n as a double, rounded as pow rounds it: subnormal down to 2^-1074, 0 below, +inf above 2^1023.
constexpr double powerOfTwo(int n) {
    std::uint64_t bits = 0;
    if (n > 1023) {
        bits = std::uint64_t{0x7ff} << 52;
    } else if (n >= -1022) {
        bits = static_cast<std::uint64_t>(n + 1023) << 52;
    } else if (n >= -1074) {
        bits = std::uint64_t{1} << (n + 1074);
    }
    return __builtin_bit_cast(double, bits);
}

}  // namespace tovrel::dsp
