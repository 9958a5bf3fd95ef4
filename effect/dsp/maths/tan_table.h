// The figures of the block setup's tangent: its constants and the layout of its 186-row table.
//
// Figures from the double-precision tan of the reference runtime's C library (glibc 2.36, the
// "IBM Accurate Mathematical Library" part), licensed LGPL-2.1-or-later; read from the PowerPC
// reference runtime's table and identical in the x86-64 copy.
#pragma once

namespace tovrel::dsp::maths::tan_data {

// The odd polynomial x + kD3 x^3 + ... + kD11 x^11 (small arguments, and near pi/2).
constexpr double kD3 = 0x1.5555555555555p-2;
constexpr double kD5 = 0x1.11111111107c6p-3;
constexpr double kD7 = 0x1.ba1ba1cdb8745p-5;
constexpr double kD9 = 0x1.664ed49cfc666p-6;
constexpr double kD11 = 0x1.2385a3cf2e4eap-7;
// The short polynomial z + kE0 z^3 + kE1 z^5 around a table point.
constexpr double kE0 = 0x1.5555555554dbdp-2;
constexpr double kE1 = 0x1.11112e0a6b45fp-3;
// Upper limits (inclusive) of the polynomial range (about 0.0608) and the table range (0.787).
constexpr double kG2 = 0x1.f212d00000000p-5;
constexpr double kG3 = 0x1.92f1a00000000p-1;
// Reduction by pi/2: 2/pi, the round-to-integer shift, and pi/2 in three parts.
constexpr double kHalfPiInverse = 0x1.45f306dc9c883p-1;
constexpr double kToInteger = 0x1.8000000000000p+52;
constexpr double kHalfPi1 = 0x1.921fb58000000p+0;
constexpr double kHalfPi2 = -0x1.dde973c000000p-27;
constexpr double kHalfPi3 = -0x1.cb3b399d747f2p-55;

// A point X close to (r + 16) / 256, with tan X (F) and cot X (G) correctly rounded.
struct TanRow {
    double x, tan, cot;
};

constexpr int kTanRows = 186;
extern const TanRow kTanTable[kTanRows];

}  // namespace tovrel::dsp::maths::tan_data
