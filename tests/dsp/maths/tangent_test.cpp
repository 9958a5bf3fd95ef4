// The block setup's tangent against the reference runtime's: every float sample rate above
// 38320 Hz up to 2^24 by digest, named rates on each of its paths, and the range it refuses.
#include "effect/dsp/maths/tangent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "effect/dsp/maths/bits.h"
#include "tests/dsp/maths/test_sequences.h"

namespace tovrel::dsp::maths {
namespace {

// The argument the block setup forms: pi times the corner as a fraction of the rate, each
// rounded once.
double setupArgument(float rate) {
    const double cutoff = 19160.0 / static_cast<double>(rate);
    return 3.141592653589793 * cutoff;
}

constexpr std::uint32_t kFirstRate = 0x4715b001;  // the float after 38320
constexpr std::uint32_t kLastRate = 0x4b800000;   // 2^24

#ifndef TOVREL_MATHS_SHORT_RUN
// 74,076,160 rates: about two seconds, so only where the tests run natively and optimised.
TEST(TangentOnSetupRange, DigestOfEveryRateAboveTheFullRate) {
    test::Fnv1a arguments, tangents;
    for (std::uint32_t bits = kFirstRate; bits <= kLastRate; ++bits) {
        const double x = setupArgument(__builtin_bit_cast(float, bits));
        arguments.add(x);
        tangents.add(tangentOnSetupRange(x));
    }
    EXPECT_EQ(arguments.value(), 0xe169b8d4d5d676d7u);
    EXPECT_EQ(tangents.value(), 0x5c9fe9f27b89d5d0u);
}
#endif

struct Spot {
    std::uint32_t rate;
    std::uint64_t x, k;
};

// Bits of the rate, of x and of the reference's tan(x).
constexpr Spot kSpots[] = {
    {0x4715b001, 0x3ff921fb29489747, 0x4157d2d16aa3cc14},  // lowest rate, largest x
    {0x4716b52e, 0x3ff8f66d1a4f33de, 0x40578262156ab7d4},  // not correctly rounded
    {0x47171f36, 0x3ff8e4e967e63a30, 0x4050c432a2e24b34},  // fused and unfused differ
    {0x47176688, 0x3ff8d92f50b44124, 0x404c214dbf636949},
    {0x471bb6f4, 0x3ff828f1f9082793, 0x40306d574db68f27},  // last near pi/2
    {0x471bb6f5, 0x3ff828f1d14fe737, 0x40306d54ad55831a},  // first cotangent by the table
    {0x472c4400, 0x3ff5d6b5011fb996, 0x4013275b4429edb0},  // 44100
    {0x473b8000, 0x3ff410764c3b8c1b, 0x4008676587c2e52f},  // 48000
    {0x47956204, 0x3fe92f1a25f36b1b, 0x3ff00d2435c9abb5},  // last cotangent by the table
    {0x47956205, 0x3fe92f19facae8e1, 0x3ff00d240a7da891},  // first tangent by the table
    {0x47ac4400, 0x3fe5d6b5011fb996, 0x3fea01f13c5e4ad9},  // 88200
    {0x47bb8000, 0x3fe410764c3b8c1b, 0x3fe72f77dbd1bcea},  // 96000
    {0x482c4400, 0x3fd5d6b5011fb996, 0x3fd6ba4d8ccf4217},  // 176400
    {0x483b8000, 0x3fd410764c3b8c1b, 0x3fd4bfa1a563702a},  // 192000
    {0x484be305, 0x3fd273a25cd2c53f, 0x3fd2fb03fb1adc76},  // not correctly rounded
    {0x48bb8000, 0x3fc410764c3b8c1b, 0x3fc43af31963349b},  // 384000
    {0x493b8000, 0x3fb410764c3b8c1b, 0x3fb41b0166c9fd08},  // 768000
    {0x494ad8cd, 0x3fb28bd9b7f22422, 0x3fb2942c9ddc2888},  // not correctly rounded
    {0x4971b3f4, 0x3faf212d0f722b37, 0x3faf2b02a1b11a22},  // last by the table
    {0x4971b3f5, 0x3faf212cee799b10, 0x3faf2b028099429e},  // first by the polynomial
    {0x4971b4c5, 0x3faf2112249ba550, 0x3faf2ae79d517d39},  // fused and unfused differ
    {0x4a00286c, 0x3f9d5ad8217a67bd, 0x3f9d5ce74a2ce8b1},  // not correctly rounded
    {0x4b800000, 0x3f6d641d49ab3a3c, 0x3f6d64258d6edd36},  // 2^24, smallest x
};

TEST(TangentOnSetupRange, MatchesTheReferenceAtNamedRates) {
    for (const Spot& spot : kSpots) {
        const double x = setupArgument(__builtin_bit_cast(float, spot.rate));
        EXPECT_EQ(bitsOf(x), spot.x) << std::hex << "rate " << spot.rate;
        EXPECT_EQ(bitsOf(tangentOnSetupRange(x)), spot.k) << std::hex << "rate " << spot.rate;
    }
}

// Rates far above 2^24 give arguments so small that tan x rounds to x itself.
TEST(TangentOnSetupRange, TinyArgumentsAreTheirOwnTangent) {
    for (double x : {0.0, 0x1p-1074, 0x1p-1022, 0x1.5p-40, 0x1.a9p-27}) {
        EXPECT_EQ(bitsOf(tangentOnSetupRange(x)), bitsOf(x)) << x;
    }
}

TEST(TangentOnSetupRange, RefusesWhatItsStepsDoNotCover) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double halfPi = fromBits(0x3ff921fb54442d18);
    EXPECT_FALSE(std::isnan(tangentOnSetupRange(halfPi)));
    for (double x : {std::nextafter(halfPi, 4.0), 3.0, kInf, -0x1p-1074, -1.0, -kInf,
                     std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(tangentOnSetupRange(x))) << x;
    }
}

}  // namespace
}  // namespace tovrel::dsp::maths
