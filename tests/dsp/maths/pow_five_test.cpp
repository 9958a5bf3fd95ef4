// The fifth power against the reference runtime's published results: anchor values on every
// path and boundary, and digests over millions of patterns.
#include "effect/dsp/maths/pow_five.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/maths/software_fma.h"
#include "tests/dsp/maths/test_sequences.h"

namespace tovrel::dsp::maths {
namespace {

using test::Fnv1a;
using test::SplitMix64;

struct Anchor {
    std::uint64_t x, result;
};

// Patterns of x and of the reference's pow(x, 5.0), identical on PowerPC and x86-64 with FMA.
constexpr Anchor kAnchors[] = {
    {0x0000000000000000, 0x0000000000000000},  // +0
    {0x8000000000000000, 0x8000000000000000},  // -0
    {0x7ff0000000000000, 0x7ff0000000000000},  // +inf
    {0xfff0000000000000, 0xfff0000000000000},  // -inf
    {0x7ff8000000000000, 0x7ff8000000000000},  // quiet NaN
    {0xfff8000000000000, 0x7ff8000000000000},  // negative NaN loses its sign
    {0x7ff0000000000001, 0x7ff8000000000001},  // signalling NaN is quieted
    {0xfff4000000000123, 0x7ffc000000000123},
    {0x3ff0000000000000, 0x3ff0000000000000},  // 1
    {0xbff0000000000000, 0xbff0000000000000},  // -1
    {0x3ff0000000000001, 0x3ff0000000000005},  // next above 1
    {0x3fefffffffffffff, 0x3feffffffffffffb},  // next below 1
    {0x0000000000000001, 0x0000000000000000},  // smallest subnormal
    {0x800fffffffffffff, 0x8000000000000000},  // largest negative subnormal
    {0x0010000000000000, 0x0000000000000000},  // DBL_MIN
    {0x7fefffffffffffff, 0x7ff0000000000000},  // DBL_MAX
    {0x4000000000000000, 0x4040000000000000},  // 2
    {0xc008000000000000, 0xc06e600000000000},  // -3
    {0x3fb999999999999a, 0x3ee4f8b588e368f2},  // 0.1
    {0x4cbbdb8cdadbe120, 0x7fefffffffffffff},  // largest finite result
    {0x4cbbdb8cdadbe121, 0x7ff0000000000000},  // smallest x giving +inf
    {0x492a93144be4d216, 0x6e19476504ba84f8},  // normal path just below the large results
    {0x492a93144be4d217, 0x6e19476504ba84fd},  // first large result
    {0x36b3443de685b606, 0x11c44109edb20957},  // last small result (normal)
    {0x36b3443de685b607, 0x11c44109edb2095c},  // normal path just above the small results
    {0x3328406003b2ae5d, 0x0010000000000002},  // smallest x with a normal result
    {0x3328406003b2ae5c, 0x000fffffffffffff},  // largest x with a subnormal result
    {0x3280000000000000, 0x0000000000000000},  // 2^-215: a tie, to even
    {0x3280000000000001, 0x0000000000000001},  // smallest x with a nonzero result
    {0x3283ee8390d43956, 0x0000000000000002},
    {0x526611a4fdd9fb41, 0x7ff0000000000000},  // last large result (overflows)
    {0x526611a4fdd9fb42, 0x7ff0000000000000},  // first certain overflow
    {0x2d77333612947b8f, 0x0000000000000000},  // last certain underflow
    {0x2d77333612947b90, 0x0000000000000000},  // first small result (zero)
    {0x3fa548c8dcebe06c, 0x3e80a9c79b1f3918},  // the rounding shift must be fused
    {0x3fab11c792dd554b, 0x3e9bb8e0b79a6f1d},
    {0x3fc6ef9298593ae4, 0x3f28364c1eb941f4},
    {0xbff0176e65f8660f, 0xbff0768119825629},  // the logarithm's last step must be fused
    {0x34a577b53890b4da, 0x078164a60b15c9de},  // small results must not be fused
    {0xb3579e15caa0ade3, 0x80fc07d1c810811e},
    {0x34b43496ec1d9f47, 0x07c9b1a49befd8e2},
    {0xb6c89b571700d181, 0x923134ff05971a69},  // the exponential's polynomial order
    {0xb8fa42b38ade9262, 0x9d27d206cb096efc},
};

// The forms: inline with the library's fma, the portable path's call (which takes the FMA
// instruction where the processor has one), and with the integer fma of systems whose library
// fma is wrong.
double inlineForm(double x) {
    return powFive(x);
}

struct SoftwareFma {
    static double apply(double a, double b, double c) { return softwareFusedMultiplyAdd(a, b, c); }
};

double softwareForm(double x) {
    return pow_detail::fifthPower<SoftwareFma>(x);
}

using Form = double (*)(double);

std::string formName(const testing::TestParamInfo<Form>& form) {
    constexpr const char* kNames[] = {"Inline", "Scalar", "Software"};
    return kNames[form.index];
}

class PowFive : public testing::TestWithParam<Form> {};
class PowFiveDigest : public testing::TestWithParam<Form> {};

INSTANTIATE_TEST_SUITE_P(Forms, PowFive, testing::Values(inlineForm, powFiveScalar, softwareForm),
                         formName);
// Each digest takes seconds where the tests run slowly (an emulator, sanitizers, no
// optimisation); there the first form stands for all.
#ifdef TOVREL_MATHS_SHORT_RUN
INSTANTIATE_TEST_SUITE_P(Forms, PowFiveDigest, testing::Values(inlineForm), formName);
#else
INSTANTIATE_TEST_SUITE_P(Forms, PowFiveDigest,
                         testing::Values(inlineForm, powFiveScalar, softwareForm), formName);
#endif

TEST_P(PowFive, MatchesTheReferenceAtEveryAnchor) {
    for (const Anchor& anchor : kAnchors) {
        EXPECT_EQ(bitsOf(GetParam()(fromBits(anchor.x))), anchor.result)
            << std::hex << "x = " << anchor.x;
    }
}

// Published digests of 2,000,000 results each; a single differing bit changes them.
template <typename Draw>
std::uint64_t digest(double (*fifth)(double), std::uint64_t seed, Draw draw) {
    SplitMix64 random(seed);
    Fnv1a hash;
    for (int i = 0; i < 2000000; ++i) hash.add(fifth(draw(random)));
    return hash.value();
}

// Exponent field 723 + (0..600): about 2^-300 to 2^300, both signs.
double inBiasedRange(SplitMix64& random, std::uint64_t lowest, std::uint64_t count) {
    const std::uint64_t u = random.next(), v = random.next();
    return fromBits((u & 0x800fffffffffffffu) | ((lowest + v % count) << 52));
}

TEST_P(PowFiveDigest, DigestOfEveryPattern) {
    EXPECT_EQ(digest(GetParam(), 1, [](SplitMix64& r) { return fromBits(r.next()); }),
              0xcb461fe09cb2020fu);
}

TEST_P(PowFiveDigest, DigestOfTheNormalRange) {
    EXPECT_EQ(digest(GetParam(), 2, [](SplitMix64& r) { return inBiasedRange(r, 723, 601); }),
              0xe9e7db24e5d4b578u);
}

TEST_P(PowFiveDigest, DigestOfAQuarterToFour) {
    EXPECT_EQ(digest(GetParam(), 3, [](SplitMix64& r) { return inBiasedRange(r, 1021, 4); }),
              0x9c2437b10810997du);
}

}  // namespace
}  // namespace tovrel::dsp::maths
