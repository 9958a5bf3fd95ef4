// a * b + c rounded once, computed with integers only: the exact sum is formed in a fixed-point
// integer wide enough for every finite double triple, then rounded to nearest, ties to even.
// Slow and plain on purpose: it is the yardstick for every target's fused multiply-add.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tovrel::dsp::maths::test {
namespace exact_detail {

// Bit 0 of the wide integer weighs 2^-2148, the weight of the last bit of the smallest product.
constexpr int kLowestExponent = -2148;
// Products reach 2^2048 and the sum one more bit: 4352 bits leave room.
constexpr int kLimbs = 136;

struct Wide {
    std::array<std::uint32_t, kLimbs> limb{};

    bool isZero() const {
        return std::all_of(limb.begin(), limb.end(), [](std::uint32_t l) { return l == 0; });
    }
    int bit(int position) const { return (limb[position / 32] >> (position % 32)) & 1; }
    int topBit() const {
        for (int i = kLimbs - 1; i >= 0; --i) {
            if (limb[i] != 0) return i * 32 + 31 - __builtin_clz(limb[i]);
        }
        return -1;
    }
    bool anyBelow(int position) const {
        for (int i = 0; i < position / 32; ++i) {
            if (limb[i] != 0) return true;
        }
        const std::uint32_t below = (std::uint32_t{1} << (position % 32)) - 1;
        return (limb[position / 32] & below) != 0;
    }
    // Adds the value v * 2^shift (v up to 128 bits, given as four 32-bit limbs, least first).
    void add(const std::array<std::uint32_t, 4>& v, int shift) {
        for (int i = 0; i < 4; ++i) {
            std::uint64_t part = std::uint64_t{v[i]} << (shift % 32);
            for (int at = shift / 32 + i; part != 0 && at < kLimbs; ++at) {
                const std::uint64_t sum = limb[at] + (part & 0xffffffffu);
                limb[at] = static_cast<std::uint32_t>(sum);
                part = (part >> 32) + (sum >> 32);
            }
        }
    }
};

inline bool lessThan(const Wide& x, const Wide& y) {
    for (int i = kLimbs - 1; i >= 0; --i) {
        if (x.limb[i] != y.limb[i]) return x.limb[i] < y.limb[i];
    }
    return false;
}

inline Wide plus(const Wide& x, const Wide& y) {
    Wide r;
    std::uint64_t carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
        const std::uint64_t s = std::uint64_t{x.limb[i]} + y.limb[i] + carry;
        r.limb[i] = static_cast<std::uint32_t>(s);
        carry = s >> 32;
    }
    return r;
}

// x - y for x >= y.
inline Wide minus(const Wide& x, const Wide& y) {
    Wide r;
    std::int64_t borrow = 0;
    for (int i = 0; i < kLimbs; ++i) {
        std::int64_t d = std::int64_t{x.limb[i]} - y.limb[i] - borrow;
        borrow = d < 0;
        if (d < 0) d += std::int64_t{1} << 32;
        r.limb[i] = static_cast<std::uint32_t>(d);
    }
    return r;
}

struct Finite {
    bool negative;
    std::uint64_t mantissa;  // value = mantissa * 2^exponent
    int exponent;
};

inline Finite decompose(double v) {
    const auto u = __builtin_bit_cast(std::uint64_t, v);
    const int field = static_cast<int>((u >> 52) & 0x7ff);
    const std::uint64_t fraction = u & ((std::uint64_t{1} << 52) - 1);
    if (field == 0) return {(u >> 63) != 0, fraction, -1074};
    return {(u >> 63) != 0, fraction | (std::uint64_t{1} << 52), field - 1075};
}

inline std::array<std::uint32_t, 4> limbsOf(std::uint64_t v) {
    return {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32), 0, 0};
}

// The 106-bit product of two 53-bit mantissas, schoolbook on 32-bit halves.
inline std::array<std::uint32_t, 4> product(std::uint64_t x, std::uint64_t y) {
    const std::uint64_t xs[2] = {x & 0xffffffffu, x >> 32}, ys[2] = {y & 0xffffffffu, y >> 32};
    std::array<std::uint32_t, 4> r{};
    for (int i = 0; i < 2; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 2; ++j) {
            const std::uint64_t t = xs[i] * ys[j] + r[i + j] + carry;
            r[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        r[i + 2] = static_cast<std::uint32_t>(carry);
    }
    return r;
}

// The double nearest magnitude * 2^kLowestExponent (ties to even), with the given sign.
inline double roundToDouble(const Wide& magnitude, bool negative) {
    const std::uint64_t sign = negative ? std::uint64_t{1} << 63 : 0;
    const int top = magnitude.topBit();
    if (top < 0) return __builtin_bit_cast(double, sign);
    const int lowest = std::max(top - 52, -1074 - kLowestExponent);  // subnormals keep fewer bits
    std::uint64_t m = 0;
    for (int p = top; p >= lowest; --p) m = (m << 1) | static_cast<std::uint64_t>(magnitude.bit(p));
    const bool half = magnitude.bit(lowest - 1) != 0;
    if (half && (magnitude.anyBelow(lowest - 1) || (m & 1))) ++m;
    // With the leading bit in m, the exponent field comes out right even when rounding carried.
    const std::uint64_t bits =
        (static_cast<std::uint64_t>(lowest + kLowestExponent + 1074) << 52) + m;
    if (bits >= 0x7ff0000000000000u) return __builtin_bit_cast(double, sign | 0x7ff0000000000000u);
    return __builtin_bit_cast(double, sign | bits);
}

}  // namespace exact_detail

inline double exactFusedMultiplyAdd(double a, double b, double c) {
    using namespace exact_detail;
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    if (a != a || b != b || c != c) return kNaN;
    const bool productNegative = std::signbit(a) != std::signbit(b);
    if (std::isinf(a) || std::isinf(b)) {
        if (a == 0.0 || b == 0.0) return kNaN;
        if (std::isinf(c) && std::signbit(c) != productNegative) return kNaN;
        return productNegative ? -kInf : kInf;
    }
    if (std::isinf(c)) return c;

    const Finite x = decompose(a), y = decompose(b), z = decompose(c);
    Wide p, q;
    p.add(product(x.mantissa, y.mantissa), x.exponent + y.exponent - kLowestExponent);
    q.add(limbsOf(z.mantissa), z.exponent - kLowestExponent);
    if (p.isZero() && q.isZero()) return productNegative && z.negative ? -0.0 : 0.0;
    if (productNegative == z.negative) return roundToDouble(plus(p, q), z.negative);
    if (lessThan(p, q)) return roundToDouble(minus(q, p), z.negative);
    if (lessThan(q, p)) return roundToDouble(minus(p, q), productNegative);
    return 0.0;  // exact cancellation rounds to +0
}

}  // namespace tovrel::dsp::maths::test
