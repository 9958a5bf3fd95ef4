// What differs between the single- and the double-precision path: the sample type, the
// tiny-input threshold, the exponent the dither is sized to, its noise scale, the written word.
#pragma once

#include <cmath>
#include <cstdint>

namespace tovrel::dsp {

struct SinglePath {
    using Sample = float;
    static constexpr double kTinyInput = 1.18e-37;
    // 5.5e-36 held to full long double precision.
    static constexpr double kNoiseHigh = 5.5e-36;
    static constexpr double kNoiseLow = 1.5724085468671158e-52;

    static std::int32_t exponentOf(double high) {
        int exponent = 0;
        std::frexp(static_cast<float>(high), &exponent);  // frexpf
        return exponent;
    }
    static Sample narrow(double high) { return static_cast<float>(high); }
};

struct DoublePath {
    using Sample = double;
    static constexpr double kTinyInput = 1.18e-43;
    // 1.1e-44 held to full long double precision.
    static constexpr double kNoiseHigh = 1.1e-44;
    static constexpr double kNoiseLow = -6.030340873727346e-61;

    static std::int32_t exponentOf(double high) {
        int exponent = 0;
        std::frexp(high, &exponent);
        return exponent;
    }
    static Sample narrow(double high) { return high; }
};

}  // namespace tovrel::dsp
