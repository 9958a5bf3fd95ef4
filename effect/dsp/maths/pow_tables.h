// The figures of pow(x, 5.0): constants and the layout of its two 128-row tables.
//
// Figures from the published double-precision pow data of ARM's optimized-routines
// (MIT OR Apache-2.0 WITH LLVM-exception), which the reference runtime's C library carries from
// glibc 2.28 on; checked identical to the reference runtime's own tables.
#pragma once

#include <cstdint>

namespace tovrel::dsp::maths::pow_data {

// Logarithm stage. ln 2 in two parts; k * kLn2Hi is exact for every exponent k.
constexpr double kLn2Hi = 0x1.62e42fefa3800p-1;
constexpr double kLn2Lo = 0x1.ef35793c76730p-45;
// The log1p correction polynomial, scaled as used; kA0 is exactly -0.5.
constexpr double kA0 = -0x1.0000000000000p-1;
constexpr double kA1 = -0x1.5555555555560p-1;
constexpr double kA2 = 0x1.0000000000006p-1;
constexpr double kA3 = 0x1.999999959554ep-1;
constexpr double kA4 = -0x1.555555529a47ap-1;
constexpr double kA5 = -0x1.2495b9b4845e9p+0;
constexpr double kA6 = 0x1.0002b8b263fc3p+0;

// Exponential stage: 128 steps per octave.
constexpr double kInvLn2N = 0x1.71547652b82fep+7;     // 128 / ln 2
constexpr double kShift = 0x1.8000000000000p+52;      // rounds to an integer when added
constexpr double kNegLn2HiN = -0x1.62e42fefa0000p-8;  // -(ln 2) / 128, trailing bits zero
constexpr double kNegLn2LoN = -0x1.cf79abc9e3b3ap-47;
// exp(r) - 1 = r + kC2 r^2 + ... + kC5 r^5.
constexpr double kC2 = 0x1.ffffffffffdbdp-2;
constexpr double kC3 = 0x1.555555555543cp-3;
constexpr double kC4 = 0x1.55555cf172b91p-5;
constexpr double kC5 = 0x1.1111167a4d017p-7;

// 1/c for a sub-interval (few significant bits, so z * invc - 1 is exact), ln c rounded to a
// multiple of 2^-43, and the rest of ln c.
struct LogRow {
    double invc, logc, logctail;
};
// 2^(j/128) = dbl(sbase + (j << 45)) * (1 + tail).
struct ExpRow {
    double tail;
    std::uint64_t sbase;
};

constexpr int kLogRows = 128;
constexpr int kExpRows = 128;
extern const LogRow kLogTable[kLogRows];
extern const ExpRow kExpTable[kExpRows];

}  // namespace tovrel::dsp::maths::pow_data
