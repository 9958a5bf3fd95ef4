// Building block: one direct-form-I biquad step over a section (coefficients at kA0..kB2) and
// one channel's history (previous two inputs, then previous two outputs).
#pragma once

#include "effect/dsp/signal_state.h"

namespace tovrel::dsp {

enum HistoryElement : int { kX1 = 0, kX2 = 1, kY1 = 2, kY2 = 3 };

// The order of the sums and of each product's operands is part of the sound: a history value
// comes before its coefficient.
template <typename T>
T biquadStep(const T* section, T* history, T x) {
    const T y = (((x * section[kA0] + history[kX1] * section[kA1]) + history[kX2] * section[kA2]) -
                 history[kY1] * section[kB1]) -
                history[kY2] * section[kB2];
    history[kX2] = history[kX1];
    history[kX1] = x;
    history[kY2] = history[kY1];
    history[kY1] = y;
    return y;
}

}  // namespace tovrel::dsp
