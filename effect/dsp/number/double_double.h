// A (high, low) pair of doubles whose arithmetic gives the same bits as the 32-bit PowerPC
// compiler runtime's double-double routines: on that platform it calls them, elsewhere it
// emulates them.
#pragma once

namespace tovrel::dsp {

// An aggregate, so DoubleDouble{d} widens d to (d, +0.0) and DoubleDouble{} is (+0.0, +0.0).
struct DoubleDouble {
    double hi;
    double lo;
};

// The runtime's routines keep their operands in the order given; the low word of a sum or a
// product can depend on it.
DoubleDouble add(DoubleDouble a, DoubleDouble b);
DoubleDouble subtract(DoubleDouble a, DoubleDouble b);
DoubleDouble multiply(DoubleDouble a, DoubleDouble b);
DoubleDouble divide(DoubleDouble a, DoubleDouble b);

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
    return add(a, b);
}
inline DoubleDouble operator-(DoubleDouble a, DoubleDouble b) {
    return subtract(a, b);
}
inline DoubleDouble operator*(DoubleDouble a, DoubleDouble b) {
    return multiply(a, b);
}
inline DoubleDouble operator/(DoubleDouble a, DoubleDouble b) {
    return divide(a, b);
}
inline DoubleDouble operator-(DoubleDouble a) {
    return {-a.hi, -a.lo};
}

// The low words decide only between equal high words (+0 equals -0); a NaN word compares
// unordered as doubles do.
inline bool operator==(DoubleDouble a, DoubleDouble b) {
    return a.hi == b.hi && a.lo == b.lo;
}
inline bool operator!=(DoubleDouble a, DoubleDouble b) {
    return !(a == b);
}
inline bool operator<(DoubleDouble a, DoubleDouble b) {
    return a.hi == b.hi ? a.lo < b.lo : a.hi < b.hi;
}
inline bool operator>(DoubleDouble a, DoubleDouble b) {
    return a.hi == b.hi ? a.lo > b.lo : a.hi > b.hi;
}
inline bool operator<=(DoubleDouble a, DoubleDouble b) {
    return a.hi == b.hi ? a.lo <= b.lo : a.hi <= b.hi;
}
inline bool operator>=(DoubleDouble a, DoubleDouble b) {
    return a.hi == b.hi ? a.lo >= b.lo : a.hi >= b.hi;
}

}  // namespace tovrel::dsp
