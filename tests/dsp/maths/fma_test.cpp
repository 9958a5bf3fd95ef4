// Every fused multiply-add of the signal path's maths and of the double-double emulation must
// round once. Holds this target's library std::fma, and the function the code calls, to an
// exact integer reference on the triples where a wrong fma shows: ties, cancellation, sticky
// bits far below the product, subnormal results and the edge of overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "effect/dsp/maths/bits.h"
#include "effect/dsp/maths/fused_multiply_add.h"
#include "effect/dsp/maths/software_fma.h"
#include "tests/dsp/maths/exact_fma.h"
#include "tests/dsp/maths/test_sequences.h"

namespace tovrel::dsp::maths {
namespace {

using test::exactFusedMultiplyAdd;
using test::SplitMix64;

struct Triple {
    double a, b, c;
};

bool sameResult(double x, double y) {
    return bitsOf(x) == bitsOf(y) || (std::isnan(x) && std::isnan(y));
}

// The reference itself, on results worked out by hand.
TEST(ExactFusedMultiplyAdd, GivesHandWorkedResults) {
    const double one = 1.0, up = 0x1.0000000000001p0;
    const struct {
        Triple t;
        double expected;
    } cases[] = {
        {{up, up, -1.0}, 0x1p-51},                              // 2^-51 + 2^-104: a tie, to even
        {{up, up, -up}, 0x1p-52 + 0x1p-104},                    // catastrophic cancellation
        {{one, 1.0, 0x1p-53}, 1.0},                             // tie, to even (down)
        {{up, 1.0, 0x1p-53}, 0x1.0000000000002p0},              // tie, to even (up)
        {{one, 1.0, 0x1p-53 + 0x1p-105}, 0x1.0000000000001p0},  // just past the tie
        {{0x1p-1074, 0.5, 0.0}, 0.0},                           // subnormal tie, to even (zero)
        {{0x1.8p-1073, 0.5, 0.0}, 0x1p-1073},                   // 1.5 * 2^-1074 rounds up to 2
        {{0x1p-600, 0x1p-500, -0.0}, 0.0},                      // underflow keeps the sign of +0
        {{-0x1p-600, 0x1p-500, -0.0}, -0.0},
        {{0.0, 5.0, -0.0}, 0.0},    // +0 + -0
        {{-0.0, 5.0, -0.0}, -0.0},  // -0 + -0
        {{2.0, 3.0, -6.0}, 0.0},    // exact cancellation gives +0
        {{0x1.fffffffffffffp1023, 2.0, -0x1.fffffffffffffp1023}, 0x1.fffffffffffffp1023},
        {{0x1.fffffffffffffp1023, 1.0, 0x1p970}, std::numeric_limits<double>::infinity()},
        {{0x1.fffffffffffffp1023, 1.0, 0x1.fffffffffffffp969}, 0x1.fffffffffffffp1023},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(sameResult(exactFusedMultiplyAdd(c.t.a, c.t.b, c.t.c), c.expected))
            << std::hexfloat << c.t.a << " " << c.t.b << " " << c.t.c;
    }
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(exactFusedMultiplyAdd(kInf, 0.0, 1.0)));
    EXPECT_TRUE(std::isnan(exactFusedMultiplyAdd(kInf, 1.0, -kInf)));
    EXPECT_EQ(exactFusedMultiplyAdd(-kInf, 1.0, 5.0), -kInf);
}

// A double with a random mantissa, sign and exponent 2^e.
double randomDouble(SplitMix64& random, int e) {
    const std::uint64_t u = random.next();
    return std::ldexp(fromBits((u & 0x800fffffffffffffu) | 0x3ff0000000000000u), e);
}

int randomIn(SplitMix64& random, int lowest, int highest) {
    return lowest +
           static_cast<int>(random.next() % static_cast<std::uint64_t>(highest - lowest + 1));
}

// a * b lands exactly halfway between two doubles of [1, 2) once c is added, or one step of c
// beside the halfway point; scaled by powers of two and signed at random.
Triple tie(SplitMix64& random) {
    const std::uint64_t x = random.next() >> 38, y = random.next() >> 38;  // 26 bits each
    const double a = static_cast<double>((std::uint64_t{1} << 52) + x) * 0x1p-52;
    const double b = static_cast<double>((std::uint64_t{1} << 52) + y) * 0x1p-52;
    double c = (static_cast<double>(std::int64_t{1} << 51) - static_cast<double>(x * y)) * 0x1p-104;
    const int nudge = randomIn(random, -1, 1);
    if (nudge != 0) c = std::nextafter(c, nudge * 1.0);
    const int i = randomIn(random, -500, 500), j = randomIn(random, -500, 500);
    const double sa = random.next() & 1 ? -1.0 : 1.0, sb = random.next() & 1 ? -1.0 : 1.0;
    return {sa * std::ldexp(a, i), sb * std::ldexp(b, j), sa * sb * std::ldexp(c, i + j)};
}

// c nearly cancels the product: the result is its rounding error, give or take a few steps.
Triple cancellation(SplitMix64& random) {
    const double a = randomDouble(random, randomIn(random, -400, 400));
    const double b = randomDouble(random, randomIn(random, -400, 400));
    double c = -(a * b);
    for (int k = randomIn(random, -3, 3); k != 0; k += k > 0 ? -1 : 1) {
        c = std::nextafter(c, k * std::numeric_limits<double>::infinity());
    }
    return {a, b, c};
}

// c far below or just above the product, so that its bits decide the rounding as sticky bits.
Triple sticky(SplitMix64& random) {
    const int ea = randomIn(random, -300, 300), eb = randomIn(random, -300, 300);
    return {randomDouble(random, ea), randomDouble(random, eb),
            randomDouble(random, ea + eb - randomIn(random, -5, 120))};
}

// Products and sums at or below the smallest normal double.
Triple subnormal(SplitMix64& random) {
    const int ea = randomIn(random, -1000, -500);
    const int eb = randomIn(random, -1080, -1010) - ea;
    const double a = randomDouble(random, ea), b = randomDouble(random, eb);
    if (random.next() & 1) return {a, b, -(a * b)};
    return {a, b, randomDouble(random, randomIn(random, -1080, -1020))};
}

// Sums around the largest double.
Triple nearOverflow(SplitMix64& random) {
    const int ea = randomIn(random, 500, 523);
    const double a = randomDouble(random, ea), b = randomDouble(random, 1023 - ea);
    return {a, b, randomDouble(random, randomIn(random, 960, 1023))};
}

// Any patterns at all, with zeros, infinities, NaNs and subnormals made common.
double anyPattern(SplitMix64& random) {
    const std::uint64_t u = random.next();
    switch (u % 8) {
        case 0:
            return fromBits(u & kSignBit);  // a zero
        case 1:
            return fromBits((u & (kSignBit | 0x000fffffffffffffu)) | kExponentField);  // inf, NaN
        case 2:
            return fromBits(u & (kSignBit | 0x000fffffffffffffu));  // subnormal
        default:
            return fromBits(u);
    }
}

Triple anyPatterns(SplitMix64& random) {
    return {anyPattern(random), anyPattern(random), anyPattern(random)};
}

using Generator = Triple (*)(SplitMix64&);

void expectCorrectlyRounded(const std::function<double(double, double, double)>& fma,
                            Generator generate, std::uint64_t seed) {
    const int count = 100000 / test::kShortRunDivisor;
    SplitMix64 random(seed);
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const Triple t = generate(random);
        const double expected = exactFusedMultiplyAdd(t.a, t.b, t.c);
        if (!sameResult(fma(t.a, t.b, t.c), expected) && ++wrong <= 5) {
            ADD_FAILURE() << std::hexfloat << "fma(" << t.a << ", " << t.b << ", " << t.c
                          << ") should be " << expected;
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << count;
}

constexpr Generator kHardCases[] = {tie,       cancellation, sticky,
                                    subnormal, nearOverflow, anyPatterns};

TEST(LibraryFusedMultiplyAdd, IsCorrectlyRoundedOnHardTriples) {
    std::uint64_t seed = 11;
    for (Generator generate : kHardCases) {
        expectCorrectlyRounded([](double a, double b, double c) { return std::fma(a, b, c); },
                               generate, seed++);
    }
}

TEST(FusedMultiplyAdd, IsCorrectlyRoundedOnHardTriples) {
    std::uint64_t seed = 21;
    for (Generator generate : kHardCases) {
        expectCorrectlyRounded(fusedMultiplyAdd, generate, seed++);
    }
}

// The integer fma that a target with a wrong library fma and no instruction relies on, and an
// x86 processor without the instruction, through the function the code calls there.
TEST(SoftwareFusedMultiplyAdd, IsCorrectlyRoundedOnHardTriples) {
    std::uint64_t seed = 31;
    for (Generator generate : kHardCases) {
        expectCorrectlyRounded(softwareFusedMultiplyAdd, generate, seed++);
#if defined(TOVREL_FMA_BY_PROCESSOR)
        expectCorrectlyRounded(fusedMultiplyAddWithoutInstruction, generate, seed + 100);
#endif
    }
}

}  // namespace
}  // namespace tovrel::dsp::maths
