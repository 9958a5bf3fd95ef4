// The vendor requests that set and read the dither's two noise seeds: renders that agree on
// every system, whatever its rand() gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

constexpr VstInt32 kSet = fourCharCode('t', 'v', 'S', 'd');
constexpr VstInt32 kGet = fourCharCode('t', 'v', 'S', 'g');

struct Seeds {
    std::uint32_t left, right;
};

Seeds seedsOf(Tovrel& effect) {
    std::uint32_t words[2] = {};
    EXPECT_EQ(effect.vendorSpecific(kGet, 0, words, 0.0f), 1);
    return {words[0], words[1]};
}

// Quiet noise through the default settings: the dither and the near-silence substitution
// both show in the output.
std::vector<float> render(Tovrel& effect) {
    std::vector<float> left(1024), right(1024);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = 1e-6f * static_cast<float>(std::sin(0.3 * static_cast<double>(i)));
        right[i] = i % 3 == 0 ? 0.0f : 1e-7f;
    }
    float* buffers[2] = {left.data(), right.data()};
    effect.processReplacing(buffers, buffers, 1024);
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

TEST(TovrelNoiseSeeds, SetSeedsGiveTheSameRenderWhateverRandGave) {
    std::uint32_t seeds[2] = {2490677913u, 3448036410u};
    std::srand(1);
    auto first = testing::makeTovrel();
    std::srand(99);
    auto second = testing::makeTovrel();
    auto unseeded = testing::makeTovrel();
    EXPECT_EQ(first->vendorSpecific(kSet, 0, seeds, 0.0f), 1);
    EXPECT_EQ(second->vendorSpecific(kSet, 0, seeds, 0.0f), 1);
    // Asked before the next block, the request already answers.
    EXPECT_EQ(seedsOf(*first).left, seeds[0]);
    EXPECT_EQ(seedsOf(*first).right, seeds[1]);
    const std::vector<float> out = render(*first);
    EXPECT_EQ(out, render(*second));
    EXPECT_NE(out, render(*unseeded));
    // After the block the states have moved on, the same way in both.
    EXPECT_NE(seedsOf(*first).left, seeds[0]);
    EXPECT_EQ(seedsOf(*first).left, seedsOf(*second).left);
    EXPECT_EQ(seedsOf(*first).right, first->signalState().fpdR);
}

TEST(TovrelNoiseSeeds, BadRequestsChangeNothingAndAnswerZero) {
    auto effect = testing::makeTovrel();
    const Seeds before = seedsOf(*effect);
    std::uint32_t low[2] = {16385, 70000}, lowRight[2] = {70000, 16385}, good[2] = {70000, 80000};
    EXPECT_EQ(effect->vendorSpecific(kSet, 0, low, 0.0f), 0);
    EXPECT_EQ(effect->vendorSpecific(kSet, 0, lowRight, 0.0f), 0);
    EXPECT_EQ(effect->vendorSpecific(kSet, 1, good, 0.0f), 0);  // value must be 0
    EXPECT_EQ(effect->vendorSpecific(kSet, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect->vendorSpecific(kGet, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect->vendorSpecific(fourCharCode('t', 'v', 'S', 'x'), 0, good, 0.0f), 0);
    EXPECT_EQ(good[0], 70000u);  // an unknown request writes nothing
    EXPECT_EQ(seedsOf(*effect).left, before.left);
    EXPECT_EQ(seedsOf(*effect).right, before.right);
    EXPECT_EQ(effect->signalState().fpdL, before.left);
}

}  // namespace
}  // namespace tovrel
