// Truncation toward zero that stays defined for every input: the dispatchers turn effect-
// supplied floats into integers, and a NaN or a huge value must not be undefined behaviour.
#pragma once

#include <cstdint>

inline std::int32_t truncateToInt32(double value) {
    if (!(value == value)) return 0;  // NaN
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}
