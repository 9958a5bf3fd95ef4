// Building block: the floating-point dither, noise sized to the last place of the written word
// at the sample's own exponent, driven by the channel's xorshift state.
#pragma once

#include <cstdint>

#include "effect/dsp/number/arithmetic.h"
#include "effect/dsp/number/exponent_bits.h"

namespace tovrel::dsp {

inline std::uint32_t advanceNoise(std::uint32_t& fpd) {
    fpd ^= fpd << 13;
    fpd ^= fpd >> 17;
    fpd ^= fpd << 5;
    return fpd;
}

template <typename Path, typename T>
T addDither(T sample, std::uint32_t& fpd) {
    const std::int32_t exponent = Path::exponentOf(highWord(sample));
    const double centred = static_cast<double>(advanceNoise(fpd)) - 2147483647.0;
    const T scale = fromWords<T>(Path::kNoiseHigh, Path::kNoiseLow);
    const double power = powerOfTwo(exponent + 62);  // pow(2.0, e + 62), bit for bit
    return (widenTo<T>(centred) * scale) * widenTo<T>(power) + sample;
}

}  // namespace tovrel::dsp
