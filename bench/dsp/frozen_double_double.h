// The double-double type as the first product shipped it: every operation an out-of-line call
// into the runtime's emulation. Frozen for the benchmark, so that speed work on the product
// never moves this yardstick.
#pragma once

namespace tovrel::bench {

struct FrozenDoubleDouble {
    double hi;
    double lo;
};

FrozenDoubleDouble frozenAdd(FrozenDoubleDouble a, FrozenDoubleDouble b);
FrozenDoubleDouble frozenSubtract(FrozenDoubleDouble a, FrozenDoubleDouble b);
FrozenDoubleDouble frozenMultiply(FrozenDoubleDouble a, FrozenDoubleDouble b);

inline FrozenDoubleDouble operator+(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return frozenAdd(a, b);
}
inline FrozenDoubleDouble operator-(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return frozenSubtract(a, b);
}
inline FrozenDoubleDouble operator*(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return frozenMultiply(a, b);
}
inline bool operator>(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return a.hi == b.hi ? a.lo > b.lo : a.hi > b.hi;
}
inline bool operator<(FrozenDoubleDouble a, FrozenDoubleDouble b) {
    return a.hi == b.hi ? a.lo < b.lo : a.hi < b.hi;
}
inline double highOf(FrozenDoubleDouble x) {
    return x.hi;
}
inline double highOf(double x) {
    return x;
}

}  // namespace tovrel::bench
