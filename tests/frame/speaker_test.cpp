// Speaker-arrangement blocks: sizes, zero fill, release, copying and refusals.
#include <gtest/gtest.h>

#include <cstring>

#include "frame_test_support.h"

namespace {

VstSpeakerProperties& speaker(VstSpeakerArrangement* arrangement, int channel) {
    auto* bytes = reinterpret_cast<unsigned char*>(arrangement) + 8 + 112 * channel;
    return *reinterpret_cast<VstSpeakerProperties*>(bytes);
}

bool allZero(const void* block, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < bytes; ++i) {
        if (p[i] != 0) return false;
    }
    return true;
}

TEST(Speakers, AllocateGivesAZeroFilledBlockOfTheChannelCount) {
    BareEffect effect;
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_EQ(arrangement->type, 0);
    EXPECT_TRUE(allZero(&speaker(arrangement, 0), 2 * 112));
    // A second call replaces the block (ASan reports a leak if the first is kept).
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 0));
    EXPECT_EQ(arrangement->numChannels, 0);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_TRUE(effect.deallocateArrangement(nullptr));
}

TEST(Speakers, RefusedAllocationsLeaveTheCallerWithNull) {
    BareEffect effect;
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 1));
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));

    if (sizeof(std::size_t) == 4) {
        // The block size would wrap around a 32-bit size; refused rather than under-allocated.
        ASSERT_TRUE(effect.allocateArrangement(&arrangement, 1));
        EXPECT_FALSE(effect.allocateArrangement(&arrangement, 0x7FFFFFFF));
        EXPECT_EQ(arrangement, nullptr);
    }
}

TEST(Speakers, CopySpeakerTerminatesTheNameAndCopiesEveryField) {
    BareEffect effect;
    VstSpeakerProperties from{};
    std::memset(from.name, 'n', sizeof from.name);  // 64 characters, no terminator
    from.azimuth = 0.5f;
    from.elevation = -0.25f;
    from.radius = 2.0f;
    from.reserved = 3.0f;
    from.type = 7;
    std::memset(from.future, 0x5A, sizeof from.future);
    VstSpeakerProperties to;
    std::memset(&to, 0xFF, sizeof to);
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::string(to.name), std::string(63, 'n'));
    EXPECT_EQ(std::memcmp(&to.azimuth, &from.azimuth, 16), 0);
    EXPECT_EQ(to.type, 7);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
    EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
    EXPECT_TRUE(effect.copySpeaker(&to, &to));
}

TEST(Speakers, MatchMakesAFullCopyOrChangesNothing) {
    BareEffect effect;
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 10));  // more than the nominal 8
    source->type = 1;
    for (int c = 0; c < 10; ++c) {
        speaker(source, c).azimuth = static_cast<float>(c);
        std::strcpy(speaker(source, c).name, "L");
    }
    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&copy, 1));
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(copy->type, 1);
    EXPECT_EQ(copy->numChannels, 10);
    EXPECT_EQ(std::memcmp(&speaker(copy, 0), &speaker(source, 0), 10 * 112), 0);

    VstSpeakerArrangement* kept = copy;
    EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
    EXPECT_EQ(copy, kept);
    // Matching a block to itself must not free its own source.
    EXPECT_TRUE(effect.matchArrangement(&copy, copy));
    EXPECT_EQ(copy->numChannels, 10);
    EXPECT_FALSE(effect.matchArrangement(nullptr, source));
    effect.deallocateArrangement(&copy);
    effect.deallocateArrangement(&source);
}

TEST(Speakers, MatchStopsAtTheFirstFailedSpeakerCopy) {
    struct Failing : BareEffect {
        bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) override {
            return ++copies < 2 && BareEffect::copySpeaker(to, from);
        }
        int copies = 0;
    } effect;
    VstSpeakerArrangement* source = nullptr;
    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 3));
    EXPECT_FALSE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(effect.copies, 2);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->numChannels, 3);
    effect.deallocateArrangement(&copy);
    effect.deallocateArrangement(&source);
}

}  // namespace
