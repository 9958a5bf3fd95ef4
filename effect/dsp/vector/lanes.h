// Double-doubles side by side in the lanes of a vector (both channels of one stage, or of two
// stages), with the PowerPC runtime's sum and product computed the same way, step for step, using
// the FMA instruction. The runtime's zero cases (zero products, zero rounding errors) are
// reproduced without a branch. Its other special cases begin where a high word leaves the finite
// range; there these steps give an infinite or NaN high word instead, and callers take such a
// result as the sign to redo the work the exact scalar way. Only for the translation unit compiled
// for FMA: everything here has internal linkage, so none of it can be merged with code built for an
// older processor.
#pragma once

#include "effect/dsp/vector/vec_ops.h"

#define TOVREL_KERNEL_INLINE __attribute__((always_inline)) inline

namespace tovrel::dsp::vector {
namespace {

template <typename V>
struct Lanes {
    V hi;
    V lo;
};

using Lanes2 = Lanes<__m128d>;
using Lanes4 = Lanes<__m256d>;

template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> widenLanes(V d) {
    return {d, splat<V>(0.0)};
}

template <typename V>
TOVREL_KERNEL_INLINE V magnitude(V x) {
    return vAndNot(splat<V>(-0.0), x);
}

// The runtime rounds t + tau and keeps what was lost as the low word.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> settle(V t, V tau) {
    const V h = vAdd(t, tau);
    return {h, vAdd(vSub(t, h), tau)};
}

// Lanes whose high word is an infinity or a NaN.
template <typename V>
TOVREL_KERNEL_INLINE V nonFinite(V x) {
    return vCompare<_CMP_NLT_UQ>(magnitude(x), splat<V>(__builtin_inf()));
}

// A zero product is returned as it is, low word +0, however it was reached.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> keepZeroProduct(V t, Lanes<V> settled) {
    const V zero = vCompare<_CMP_EQ_OQ>(t, splat<V>(0.0));
    return {vSelect(settled.hi, t, zero), vAndNot(zero, settled.lo)};
}

// x + y. Without a rounding error the runtime returns the high sum as it is, low word +0; the
// ordinary steps give that low word anyway, but would turn a high -0 into +0.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> add(Lanes<V> x, Lanes<V> y) {
    const V z = vAdd(x.hi, y.hi);
    const V q = vSub(x.hi, z);
    V e = vSub(x.hi, vAdd(z, q));
    e = vAdd(vAdd(vAdd(e, vAdd(y.hi, q)), x.lo), y.lo);
    const Lanes<V> settled = settle(z, e);
    return {vSelect(settled.hi, z, vCompare<_CMP_EQ_OQ>(e, splat<V>(0.0))), settled.lo};
}

template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> subtract(Lanes<V> x, Lanes<V> y) {
    const V sign = splat<V>(-0.0);
    return add(x, {vXor(y.hi, sign), vXor(y.lo, sign)});
}

// x * y in general.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> multiply(Lanes<V> x, Lanes<V> y) {
    const V t = vMul(x.hi, y.hi);
    const V e = vFmsub(x.hi, y.hi, t);
    const V cross = vFmadd(x.hi, y.lo, vMul(y.hi, x.lo));
    return keepZeroProduct(t, settle(t, vAdd(cross, e)));
}

// x * (c, +0): the cross term is then exactly c times x's low word, and with one low word zero
// the product is the same whichever operand comes first.
template <typename V>
TOVREL_KERNEL_INLINE Lanes<V> multiplyBy(Lanes<V> x, V c) {
    const V t = vMul(x.hi, c);
    const V e = vFmsub(x.hi, c, t);
    const V cross = vMul(c, x.lo);
    return keepZeroProduct(t, settle(t, vAdd(cross, e)));
}

}  // namespace
}  // namespace tovrel::dsp::vector
