#include "tools/render_check/compare/sample_diff.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace tovrel::render {
namespace {

std::uint64_t floatWord(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint64_t doubleWord(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(SampleDiff, UlpsCountInTheLargerSamplesLastPlace) {
    EXPECT_EQ(ulpsOfLarger(floatWord(1.0f), floatWord(std::nextafter(1.0f, 2.0f))), 1.0);
    EXPECT_EQ(ulpsOfLarger(doubleWord(-0.5), doubleWord(std::nextafter(-0.5, -1.0))), 1.0);
    // A step across zero is one unit of the larger, not every value in between.
    const double tiny = std::ldexp(1.0, -60);
    EXPECT_NEAR(ulpsOfLarger(doubleWord(tiny), doubleWord(-tiny)), 2.0 * 4503599627370496.0, 1.0);
    EXPECT_EQ(ulpsOfLarger(floatWord(0.25f), floatWord(0.25f)), 0.0);
}

TEST(SampleDiff, CountsDifferingAndMissingSamples) {
    const std::map<long, std::vector<std::uint64_t>> reference{
        {0, {floatWord(0.5f), floatWord(0.5f)}},
        {1, {floatWord(1.0f), floatWord(-1.0f)}},
        {2, {floatWord(0.0f), floatWord(0.0f)}}};
    const std::map<long, std::vector<std::uint64_t>> ours{
        {0, {floatWord(0.5f), floatWord(0.5f)}}, {1, {floatWord(1.0f), floatWord(-0.75f)}}};
    const SampleDiff d = diffSamples(reference, ours);
    EXPECT_EQ(d.samples, 6);
    EXPECT_EQ(d.differing, 3);  // one value, and frame 2 missing on our side
    EXPECT_TRUE(std::isinf(d.largest));

    SampleDiff total;
    total.add(diffSamples(ours, ours));
    EXPECT_EQ(total.samples, 4);
    EXPECT_EQ(total.differing, 0);
    EXPECT_EQ(total.largest, 0.0);
}

}  // namespace
}  // namespace tovrel::render
