// The signal path's building blocks over both channels at once: the one-pole step, the two
// halves of a biquad step and the saturator, each with the scalar path's operand order.
#pragma once

#include <immintrin.h>
#include <math.h>

#include "effect/dsp/vector/lanes.h"

namespace tovrel::dsp::vector {
namespace {

// What a one-pole filter multiplies by: 1 - coeff for its state, coeff for its input.
struct OnePole {
    __m128d keep;
    __m128d take;
};

// A state this small is dropped, both words, before its update (as in the scalar step).
inline Lanes onePoleStep(Lanes& state, const OnePole& pole, Lanes input, __m128d& flags) {
    const __m128d tiny = _mm_cmp_pd(magnitude(state.hi), broadcast(1.18e-37), _CMP_LT_OQ);
    state = {_mm_andnot_pd(tiny, state.hi), _mm_andnot_pd(tiny, state.lo)};
    state = add(multiplyBy(state, pole.keep, flags), multiplyBy(input, pole.take, flags), flags);
    return state;
}

// A section's coefficients; all but b2 have a zero low word.
struct Section {
    __m128d a0, a1, a2, b1;
    Lanes b2;
};

// One channel pair's history of a section: previous two inputs and previous two outputs.
struct History {
    Lanes x1, x2, y1, y2;
};

// ((x a0 + x1 a1) + x2 a2): everything that does not wait for the previous output.
inline Lanes biquadFeedForward(History& h, const Section& s, Lanes x, __m128d& flags) {
    Lanes sum = add(multiplyBy(x, s.a0, flags), multiplyBy(h.x1, s.a1, flags), flags);
    sum = add(sum, multiplyBy(h.x2, s.a2, flags), flags);
    h.x2 = h.x1;
    h.x1 = x;
    return sum;
}

// (sum - y1 b1) - y2 b2: the recurrence.
inline Lanes biquadFeedback(History& h, const Section& s, Lanes sum, __m128d& flags) {
    const Lanes older = multiply(h.y2, s.b2, flags);
    const Lanes y = subtract(subtract(sum, multiplyBy(h.y1, s.b1, flags), flags), older, flags);
    h.y2 = h.y1;
    h.y1 = y;
    return y;
}

inline __m128d above(Lanes x, double bound) {
    const __m128d b = broadcast(bound);
    const __m128d equal = _mm_cmp_pd(x.hi, b, _CMP_EQ_OQ);
    return _mm_or_pd(_mm_cmp_pd(x.hi, b, _CMP_GT_OQ),
                     _mm_and_pd(equal, _mm_cmp_pd(x.lo, _mm_setzero_pd(), _CMP_GT_OQ)));
}

inline __m128d below(Lanes x, double bound) {
    const __m128d b = broadcast(bound);
    const __m128d equal = _mm_cmp_pd(x.hi, b, _CMP_EQ_OQ);
    return _mm_or_pd(_mm_cmp_pd(x.hi, b, _CMP_LT_OQ),
                     _mm_and_pd(equal, _mm_cmp_pd(x.lo, _mm_setzero_pd(), _CMP_LT_OQ)));
}

// Clamped to -1..1, then the C library's pow for each channel: its rounding is the sound.
inline Lanes saturate(Lanes x, __m128d& flags) {
    const __m128d high = above(x, 1.0);
    const __m128d low = _mm_andnot_pd(high, below(x, -1.0));
    x.hi = _mm_blendv_pd(x.hi, broadcast(1.0), high);
    x.hi = _mm_blendv_pd(x.hi, broadcast(-1.0), low);
    x.lo = _mm_andnot_pd(_mm_or_pd(high, low), x.lo);
    const double left = pow(_mm_cvtsd_f64(x.hi), 5.0);
    const double right = pow(_mm_cvtsd_f64(_mm_unpackhi_pd(x.hi, x.hi)), 5.0);
    const __m128d fifth = _mm_set_pd(right, left);
    return add(widenLanes(_mm_mul_pd(fifth, broadcast(-0.1768))), x, flags);
}

}  // namespace
}  // namespace tovrel::dsp::vector
