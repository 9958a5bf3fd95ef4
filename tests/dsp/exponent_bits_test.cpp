// The dither's bit-level exponent arithmetic against the C library at run time, over the whole
// exponent range of both formats.
#include "effect/dsp/number/exponent_bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tovrel::dsp {
namespace {

static_assert(powerOfTwo(0) == 1.0 && frexpExponent(0.75) == 0 && frexpExponent(2.0f) == 2,
              "usable in constant expressions");

template <typename F, typename U, int kFractionBits, int kSpecial>
void expectFrexpAgreesEverywhere() {
    const U top = U{1} << (kFractionBits - 1);
    const U all = (U{1} << kFractionBits) - 1;
    // Lowest and highest fraction, alternating patterns and every single bit: at exponent 0 these
    // are zeros and every subnormal bit position; at the top, infinities, quiet and signalling
    // NaNs.
    std::vector<U> fractions = {0, all, static_cast<U>(all & 0x5555555555555555u),
                                static_cast<U>(all & 0xaaaaaaaaaaaaaaaau), top | 1};
    for (int bit = 0; bit < kFractionBits; ++bit) fractions.push_back(U{1} << bit);
    for (U sign : {U{0}, static_cast<U>(U{1} << (sizeof(U) * 8 - 1))}) {
        for (int biased = 0; biased <= kSpecial; ++biased) {
            for (U fraction : fractions) {
                const U bits = sign | static_cast<U>(U(biased) << kFractionBits) | fraction;
                F x;
                std::memcpy(&x, &bits, sizeof x);
                int library = -12345;
                std::frexp(x, &library);
                ASSERT_EQ(frexpExponent(x), library) << std::hex << "bits 0x" << bits;
            }
        }
    }
}

TEST(ExponentBits, FrexpExponentMatchesLibraryForEveryDoubleExponent) {
    expectFrexpAgreesEverywhere<double, std::uint64_t, 52, 0x7ff>();
}

TEST(ExponentBits, FrexpExponentMatchesLibraryForEveryFloatExponent) {
    expectFrexpAgreesEverywhere<float, std::uint32_t, 23, 0xff>();
}

// Covers every power the dither can ask for, from subnormals and underflow to overflow.
TEST(ExponentBits, PowerOfTwoMatchesLibraryPow) {
    volatile double base = 2.0;  // keeps pow a run-time library call
    for (int n = -1200; n <= 1200; ++n) {
        const double ours = powerOfTwo(n);
        const double library = std::pow(base, static_cast<double>(n));
        ASSERT_EQ(std::memcmp(&ours, &library, sizeof ours), 0) << "n = " << n;
    }
}

}  // namespace
}  // namespace tovrel::dsp
