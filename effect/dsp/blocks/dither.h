// Building block: the floating-point dither, noise sized to the last place of the written word
// at the sample's own exponent, driven by the channel's xorshift state.
#pragma once

#include <cstdint>

#include "effect/dsp/number/arithmetic.h"
#include "effect/dsp/number/exponent_bits.h"

namespace tovrel::dsp {

// The noise state's xorshift step, and the value its words are centred on.
constexpr int kNoiseShiftUp = 13;
constexpr int kNoiseShiftDown = 17;
constexpr int kNoiseShiftUpAgain = 5;
constexpr double kNoiseCentre = 2147483647.0;

inline std::uint32_t advanceNoise(std::uint32_t& fpd) {
    fpd ^= fpd << kNoiseShiftUp;
    fpd ^= fpd >> kNoiseShiftDown;
    fpd ^= fpd << kNoiseShiftUpAgain;
    return fpd;
}

template <typename Path, typename T>
T addDither(T sample, std::uint32_t& fpd) {
    const std::int32_t exponent = Path::exponentOf(highWord(sample));
    const double centred = static_cast<double>(advanceNoise(fpd)) - kNoiseCentre;
    const T scale = fromWords<T>(Path::kNoiseHigh, Path::kNoiseLow);
    const double power = powerOfTwo(exponent + 62);  // pow(2.0, e + 62), bit for bit
    return (widenTo<T>(centred) * scale) * widenTo<T>(power) + sample;
}

}  // namespace tovrel::dsp
