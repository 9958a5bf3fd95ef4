// Speaker-arrangement blocks: sizes, zero fill, release, copying and refusals. Under ASan a
// block that is kept, freed twice or read past its channel count fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "frame_test_support.h"

namespace {

VstSpeakerProperties* speaker(VstSpeakerArrangement* arrangement, int channel) {
    auto* bytes = reinterpret_cast<unsigned char*>(arrangement) + 8 + 112 * channel;
    return reinterpret_cast<VstSpeakerProperties*>(bytes);
}

TEST(Speakers, BlocksAreAllocatedReleasedCopiedAndRefused) {
    BareEffect effect;
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    EXPECT_EQ(std::make_pair(arrangement->type, arrangement->numChannels), std::make_pair(0, 2));
    const auto* bytes = reinterpret_cast<unsigned char*>(speaker(arrangement, 0));
    EXPECT_TRUE(std::all_of(bytes, bytes + 2 * 112, [](unsigned char b) { return b == 0; }));
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 0));  // the first block goes
    EXPECT_EQ(arrangement->numChannels, 0);
    // Refused counts leave the caller with null, never with the released block.
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
    EXPECT_EQ(arrangement, nullptr);
    if (sizeof(std::size_t) == 4) {  // the size would wrap around: refused, not under-allocated
        ASSERT_TRUE(effect.allocateArrangement(&arrangement, 1));
        EXPECT_FALSE(effect.allocateArrangement(&arrangement, 0x7FFFFFFF));
        EXPECT_EQ(arrangement, nullptr);
    }
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 1));
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement) && arrangement == nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement) &&
                effect.deallocateArrangement(nullptr));

    // A match is a full copy, or changes nothing.
    VstSpeakerArrangement* source = nullptr;
    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 10));  // more than the nominal 8
    source->type = 1;
    for (int c = 0; c < 10; ++c) *speaker(source, c) = {0.5f * c, -0.25f, 2.0f, 3.0f, {}, c, {}};
    std::memset(speaker(source, 9)->name, 'n', 64);  // no terminator: the copy gets one at 63
    std::memset(speaker(source, 9)->future, 0x5A, 28);
    ASSERT_TRUE(effect.allocateArrangement(&copy, 1));
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(std::make_pair(copy->type, copy->numChannels), std::make_pair(1, 10));
    EXPECT_EQ(std::string(speaker(copy, 9)->name), std::string(63, 'n'));
    speaker(source, 9)->name[63] = '\0';
    EXPECT_EQ(std::memcmp(speaker(copy, 0), speaker(source, 0), 10 * 112), 0);
    VstSpeakerArrangement* kept = copy;
    EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
    EXPECT_FALSE(effect.matchArrangement(nullptr, source));
    EXPECT_TRUE(effect.matchArrangement(&copy, copy));  // must not free its own source
    EXPECT_EQ(copy, kept);
    EXPECT_FALSE(effect.copySpeaker(nullptr, speaker(source, 0)) ||
                 effect.copySpeaker(speaker(source, 0), nullptr));
    EXPECT_TRUE(effect.copySpeaker(speaker(copy, 9), speaker(copy, 9)));  // onto itself
    effect.deallocateArrangement(&copy);
    effect.deallocateArrangement(&source);
}

}  // namespace
