// What differs between the single- and the double-precision path: the sample type, the
// tiny-input threshold, the exponent the dither is sized to, its noise scale, the written word.
#pragma once

#include <cstdint>

#include "effect/dsp/number/exponent_bits.h"

namespace tovrel::dsp {

struct SinglePath {
    using Sample = float;
    static constexpr double kTinyInput = 1.18e-37;
    // 5.5e-36 held to full long double precision.
    static constexpr double kNoiseHigh = 5.5e-36;
    static constexpr double kNoiseLow = 1.5724085468671158e-52;

    // The exponent of the word that is written: the high word narrowed to float first.
    static std::int32_t exponentOf(double high) { return frexpExponent(static_cast<float>(high)); }
    static Sample narrow(double high) { return static_cast<float>(high); }
};

struct DoublePath {
    using Sample = double;
    static constexpr double kTinyInput = 1.18e-43;
    // 1.1e-44 held to full long double precision.
    static constexpr double kNoiseHigh = 1.1e-44;
    static constexpr double kNoiseLow = -6.030340873727346e-61;

    static std::int32_t exponentOf(double high) { return frexpExponent(high); }
    static Sample narrow(double high) { return high; }
};

}  // namespace tovrel::dsp
