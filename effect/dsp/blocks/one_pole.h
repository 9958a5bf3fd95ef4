// Building block: the one-pole low-pass step. Stages that need a high-pass subtract the new
// state from their input.
#pragma once

#include <cmath>

#include "effect/dsp/number/arithmetic.h"

namespace tovrel::dsp {

// A state this small is dropped before its update, low word and all, so that a decaying
// filter settles at zero instead of crawling through the subnormal range.
constexpr double kStateFlush = 1.18e-37;

template <typename T>
T onePoleStep(T& state, double coeff, T input) {
    if (std::fabs(highWord(state)) < kStateFlush) state = T{};
    state = widenTo<T>(1.0 - coeff) * state + widenTo<T>(coeff) * input;
    return state;
}

}  // namespace tovrel::dsp
