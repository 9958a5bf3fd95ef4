#include "frozen_double_double.h"

#include "effect/dsp/number/double_double_emulation.h"

namespace tovrel::bench {
namespace {

dsp::DoubleDouble in(FrozenDoubleDouble x) {
    return {x.hi, x.lo};
}
FrozenDoubleDouble out(dsp::DoubleDouble x) {
    return {x.hi, x.lo};
}

}  // namespace

// Kept out of line on purpose: that is the call structure this yardstick measures.
__attribute__((noinline)) FrozenDoubleDouble frozenAdd(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return out(dsp::emulation::add(in(a), in(b)));
}
__attribute__((noinline)) FrozenDoubleDouble frozenSubtract(FrozenDoubleDouble a,
                                                            FrozenDoubleDouble b) {
    return out(dsp::emulation::subtract(in(a), in(b)));
}
__attribute__((noinline)) FrozenDoubleDouble frozenMultiply(FrozenDoubleDouble a,
                                                            FrozenDoubleDouble b) {
    return out(dsp::emulation::multiply(in(a), in(b)));
}

}  // namespace tovrel::bench
