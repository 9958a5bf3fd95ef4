// The signal path's building blocks over vector lanes: the one-pole step, the two halves of a
// biquad step and the saturator, each with the scalar path's operand order.
#pragma once

#include <immintrin.h>

#include <type_traits>

#include "effect/dsp/blocks/one_pole.h"
#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/blocks/saturator.h"
#include "effect/dsp/vector/lane_pow.h"
#include "effect/dsp/vector/lanes.h"

namespace tovrel::dsp::vector {
namespace {

// What a one-pole filter multiplies by: 1 - coeff for its state, coeff for its input.
template <typename V>
struct OnePole {
    V keep;
    V take;
};

// A state this small is dropped, both words, before its update (as in the scalar step).
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> onePoleStep(Lanes<V>& state, const OnePole<V>& pole, Lanes<V> input) {
    const V tiny = vCompare<_CMP_LT_OQ>(magnitude(state.hi), splat<V>(kStateFlush));
    state = {vAndNot(tiny, state.hi), vAndNot(tiny, state.lo)};
    state = add(multiplyBy(state, pole.keep), multiplyBy(input, pole.take));
    return state;
}

// The precision's constants, by sample type.
template <typename Sample>
using PathOf = std::conditional_t<sizeof(Sample) == sizeof(float), SinglePath, DoublePath>;

// Silence and near-silence become the noise state (as doubles) at the threshold's scale.
template <typename Sample, typename V>
TOVREL_KERNEL_INLINE Lanes<V> substituteTinyInput(V x, V noise) {
    const V threshold = splat<V>(PathOf<Sample>::kTinyInput);
    const V tiny = vCompare<_CMP_LT_OQ>(magnitude(x), threshold);
    return widenLanes(vSelect(x, vMul(noise, threshold), tiny));
}

// A section's coefficients; all but b2 have a zero low word.
template <typename V>
struct Section {
    V a0, a1, a2, b1;
    Lanes<V> b2;
};

// The history of a section: previous two inputs and previous two outputs.
template <typename V>
struct History {
    Lanes<V> x1, x2, y1, y2;
};

// ((x a0 + x1 a1) + x2 a2): everything that does not wait for the previous output.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> biquadFeedForward(History<V>& h, const Section<V>& s, Lanes<V> x) {
    Lanes<V> sum = add(multiplyBy(x, s.a0), multiplyBy(h.x1, s.a1));
    sum = add(sum, multiplyBy(h.x2, s.a2));
    h.x2 = h.x1;
    h.x1 = x;
    return sum;
}

// (sum - y1 b1) - y2 b2: the recurrence.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> biquadFeedback(History<V>& h, const Section<V>& s, Lanes<V> sum) {
    const Lanes<V> older = multiply(h.y2, s.b2);
    const Lanes<V> y = subtract(subtract(sum, multiplyBy(h.y1, s.b1)), older);
    h.y2 = h.y1;
    h.y1 = y;
    return y;
}

// x > (bound, +0) or x < (bound, +0), as the pair compares: the low words decide a tie.
template <int Predicate, typename V>
TOVREL_KERNEL_INLINE V beyond(Lanes<V> x, double bound) {
    const V b = splat<V>(bound);
    const V tie = vCompare<_CMP_EQ_OQ>(x.hi, b);
    return vOr(vCompare<Predicate>(x.hi, b), vAnd(tie, vCompare<Predicate>(x.lo, splat<V>(0.0))));
}

// pow(x, 5) of every lane, ours, in the lanes: its rounding is the sound. While a pipeline fills
// or drains, a half without a frame holds a stale value; a plain one in its place keeps those
// lanes on the common path.
TOVREL_KERNEL_INLINE __m256d fifthPowers(__m256d x, bool lowHalf = true, bool highHalf = true) {
    if (!lowHalf || !highHalf) {
        const __m256i stale = _mm256_setr_epi64x(-!lowHalf, -!lowHalf, -!highHalf, -!highHalf);
        x = _mm256_blendv_pd(x, _mm256_set1_pd(0.5), _mm256_castsi256_pd(stale));
    }
    return lanePowFive(x);
}

// Clamped to -1..1, as the saturator takes it.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> clampToUnit(Lanes<V> x) {
    const V high = beyond<_CMP_GT_OQ>(x, 1.0);
    const V low = vAndNot(high, beyond<_CMP_LT_OQ>(x, -1.0));
    x.hi = vSelect(vSelect(x.hi, splat<V>(1.0), high), splat<V>(-1.0), low);
    x.lo = vAndNot(vOr(high, low), x.lo);
    return x;
}

// The clamped value plus its fifth power scaled by the curve.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> saturateWith(Lanes<V> clamped, V fifthPower) {
    return add(widenLanes(vMul(fifthPower, splat<V>(kSaturatorCurve))), clamped);
}

// Clamped to -1..1, then its fifth power scaled by the curve and added.
template <typename V, typename... Halves>
TOVREL_KERNEL_INLINE Lanes<V> saturate(Lanes<V> x, Halves... halves) {
    x = clampToUnit(x);
    return saturateWith(x, fifthPowers(x.hi, halves...));
}

}  // namespace
}  // namespace tovrel::dsp::vector
