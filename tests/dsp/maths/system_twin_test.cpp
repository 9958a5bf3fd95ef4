// Our pow(x, 5.0) and tan against this system's own, where the system's are the reference
// runtime's: glibc 2.36 using fused multiply-add on x86-64, and the reference itself on 32-bit
// PowerPC. Elsewhere (another libm, or glibc's variants for processors without FMA) these are
// expected to differ, so they carry a label of their own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/dsp/maths/bits.h"
#include "effect/dsp/maths/pow_five.h"
#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/maths/tangent.h"
#include "tests/dsp/maths/test_sequences.h"

namespace tovrel::dsp::maths {
namespace {

using test::SplitMix64;

// Kept out of the compiler's reach, so that every call is the library's.
volatile double systemExponent = 5.0;

void expectSameAsSystemPow(const std::vector<double>& inputs, const char* what) {
    const double exponent = systemExponent;
    int wrong = 0;
    for (double x : inputs) {
        const double expected = std::pow(x, exponent);
        const std::uint64_t ours = bitsOf(powFive(x));
        if ((ours != bitsOf(expected) || bitsOf(powFiveScalar(x)) != ours) && ++wrong <= 5) {
            ADD_FAILURE() << what << std::hex << ": x = " << bitsOf(x) << " gives " << ours
                          << ", the system " << bitsOf(expected);
        }
    }
    EXPECT_EQ(wrong, 0) << what << ": of " << inputs.size();
}

TEST(SystemPowFive, AgreesOnRandomPatterns) {
    const int count = 1000000 / test::kShortRunDivisor;
    SplitMix64 random(101);
    std::vector<double> everyPattern, normalRange, audio;
    for (int i = 0; i < count; ++i) {
        everyPattern.push_back(fromBits(random.next()));
        // Exponents 2^-310 to 2^310, where the results are finite and nonzero or near the ends.
        const std::uint64_t u = random.next();
        normalRange.push_back(
            fromBits((u & 0x800fffffffffffffu) | ((713 + (u >> 52) % 621) << 52)));
        audio.push_back((static_cast<double>(random.next() >> 11) * 0x1p-53 - 0.5) * 3.0);
    }
    expectSameAsSystemPow(everyPattern, "every pattern");
    expectSameAsSystemPow(normalRange, "2^-310 to 2^310");
    expectSameAsSystemPow(audio, "-1.5 to 1.5");
}

// Patterns within `reach` steps of a boundary, both signs.
void addAround(std::vector<double>& inputs, std::uint64_t boundary, int reach) {
    for (int step = -reach; step <= reach; ++step) {
        const std::uint64_t magnitude =
            (boundary + static_cast<std::uint64_t>(step)) & kMagnitudeBits;
        inputs.push_back(fromBits(magnitude));
        inputs.push_back(fromBits(magnitude | kSignBit));
    }
}

TEST(SystemPowFive, AgreesOnEveryEdgeClass) {
    std::vector<double> inputs;
    for (std::uint64_t e = 0; e <= 0x7ff; ++e) addAround(inputs, e << 52, 3);  // exponent steps
    // The log table's sub-interval edges, in a few octaves.
    for (std::uint64_t row = 0; row < 128; ++row) {
        for (std::uint64_t octave :
             {0x3fe0000000000000u, 0x3ff0000000000000u, 0x2000000000000000u}) {
            addAround(inputs, (0x3fe6955500000000u + (row << 45)) - 0x3fe0000000000000u + octave,
                      2);
        }
    }
    // The ends of each path and of the finite, normal and nonzero results.
    for (std::uint64_t boundary : {0x4cbbdb8cdadbe121u, 0x492a93144be4d217u, 0x36b3443de685b607u,
                                   0x3328406003b2ae5du, 0x3280000000000001u, 0x3283ee8390d43956u,
                                   0x526611a4fdd9fb42u, 0x2d77333612947b90u, 0x3ff0000000000000u}) {
        addAround(inputs, boundary, 1000 / test::kShortRunDivisor);
    }
    SplitMix64 random(102);
    for (int i = 0; i < 10000; ++i) {
        inputs.push_back(fromBits(random.next() & 0x800fffffffffffffu));  // subnormals
        inputs.push_back(fromBits(random.next() | 0x7ff0000000000001u));  // NaNs, either sign
    }
    expectSameAsSystemPow(inputs, "edge classes");
}

// Every 1024th rate above 38320 Hz, and arguments spread over the whole range of the steps.
TEST(SystemTangent, AgreesOnTheSetupRange) {
    int wrong = 0, count = 0;
    const std::uint32_t stride = 1024 * static_cast<std::uint32_t>(test::kShortRunDivisor);
    for (std::uint32_t bits = 0x4715b001; bits <= 0x4b800000; bits += stride, ++count) {
        const double x = 3.141592653589793 * (19160.0 / __builtin_bit_cast(float, bits));
        if (bitsOf(tangentOnSetupRange(x)) != bitsOf(std::tan(x))) ++wrong;
    }
    SplitMix64 random(103);
    for (int i = 0; i < 1000000 / test::kShortRunDivisor; ++i, ++count) {
        const double x = static_cast<double>(random.next() >> 11) * 0x1p-53 * 0x1.921fb54442d18p0;
        if (bitsOf(tangentOnSetupRange(x)) != bitsOf(std::tan(x))) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "of " << count;
}

}  // namespace
}  // namespace tovrel::dsp::maths
