#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

using testing::makeTovrel;

std::vector<unsigned char> saveChunk(Tovrel& effect, bool isPreset = false) {
    void* data = nullptr;
    VstInt32 size = effect.getChunk(&data, isPreset);
    EXPECT_EQ(size, 20);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return {bytes, bytes + size};
}

std::vector<unsigned char> chunkOf(std::initializer_list<float> values) {
    std::vector<unsigned char> bytes(4 * values.size());
    std::memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
}

void expectParameters(Tovrel& effect, const float (&expected)[5]) {
    for (VstInt32 i = 0; i < 5; ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(effect.getParameter(i))) << i;
        else
            EXPECT_EQ(effect.getParameter(i), expected[i]) << i;
    }
}

TEST(TovrelChunk, FreshChunkHoldsTheDefaultsInNativeOrder) {
    auto effect = makeTovrel();
    EXPECT_EQ(saveChunk(*effect), chunkOf({0.1f, 0.5f, 0.5f, 1.0f, 1.0f}));
    EXPECT_EQ(saveChunk(*effect, true), saveChunk(*effect, false));
}

TEST(TovrelChunk, RoundTripIgnoresFlagAndExtraBytes) {
    auto source = makeTovrel();
    const float values[] = {0.0f, 0.25f, 1.0f, 0.125f, 0.75f};
    for (VstInt32 i = 0; i < 5; ++i) source->setParameter(i, values[i]);
    auto saved = saveChunk(*source);
    saved.resize(64, 0xEE);  // a longer block loads from its first 20 bytes
    auto target = makeTovrel();
    EXPECT_EQ(target->setChunk(saved.data(), 64, true), 0);
    expectParameters(*target, values);
    saved.resize(20);
    EXPECT_EQ(saveChunk(*target), saved);
}

TEST(TovrelChunk, LoadingClampsToTheControlRange) {
    auto effect = makeTovrel();
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto bytes = chunkOf({1.5f, -0.2f, inf, -inf, nan});
    effect->setChunk(bytes.data(), 20, false);
    expectParameters(*effect, {1.0f, 0.0f, 1.0f, 0.0f, nan});

    bytes = chunkOf({-0.0f, 0.5f, 0.5f, 0.5f, 0.5f});
    effect->setChunk(bytes.data(), 20, false);
    EXPECT_TRUE(std::signbit(effect->getParameter(0)));  // negative zero is not below zero
}

TEST(TovrelChunk, SavingDoesNotClampButLoadingDoes) {
    auto effect = makeTovrel();
    effect->setParameter(3, 2.0f);
    auto saved = saveChunk(*effect);
    float gain;
    std::memcpy(&gain, saved.data() + 12, 4);
    EXPECT_EQ(gain, 2.0f);
    effect->setChunk(saved.data(), 20);
    EXPECT_EQ(effect->getParameter(3), 1.0f);
}

TEST(TovrelChunk, BigEndianChunkLoadsWithItsBytesSwapped) {
    // Default settings as saved by the big-endian build: native there, swapped here.
    const unsigned char bigEndian[20] = {0x3d, 0xcc, 0xcc, 0xcd, 0x3f, 0x00, 0x00, 0x00, 0x3f, 0x00,
                                         0x00, 0x00, 0x3f, 0x80, 0x00, 0x00, 0x3f, 0x80, 0x00, 0x00};
    auto effect = makeTovrel();
    for (VstInt32 i = 0; i < 5; ++i) effect->setParameter(i, 0.3f);
    unsigned char copy[20];
    std::memcpy(copy, bigEndian, 20);
    effect->setChunk(copy, 20);
    expectParameters(*effect, {0.1f, 0.5f, 0.5f, 1.0f, 1.0f});
}

TEST(TovrelChunk, NativeChunksWithDefectsStillLoadNatively) {
    // 2.0 is implausible, but the swapped reading is worse: the native reading wins, clamped.
    auto effect = makeTovrel();
    auto bytes = chunkOf({2.0f, 0.5f, 0.5f, 0.5f, 0.5f});
    effect->setChunk(bytes.data(), 20);
    expectParameters(*effect, {1.0f, 0.5f, 0.5f, 0.5f, 0.5f});
}

TEST(TovrelChunk, NullOrShortBlocksAreRefusedWithoutReadingPastThem) {
    auto effect = makeTovrel();
    EXPECT_EQ(effect->setChunk(nullptr, 20), 0);
    for (VstInt32 size : {0, 4, 19, -20}) {
        // Exactly sized allocation: AddressSanitizer catches any read past it.
        auto block = std::make_unique<unsigned char[]>(size > 0 ? size : 1);
        std::memset(block.get(), 0, size > 0 ? size : 1);
        EXPECT_EQ(effect->setChunk(block.get(), size), 0);
    }
    expectParameters(*effect, {0.1f, 0.5f, 0.5f, 1.0f, 1.0f});
    EXPECT_EQ(effect->getChunk(nullptr), 0);
}

TEST(TovrelChunk, RepeatedSavesReuseOneBlock) {
    auto effect = makeTovrel();
    void* first = nullptr;
    effect->getChunk(&first);
    for (int i = 0; i < 1000; ++i) {
        void* again = nullptr;
        effect->getChunk(&again);
        ASSERT_EQ(again, first);
    }
    EXPECT_EQ(saveChunk(*effect), saveChunk(*effect));
}

}  // namespace
}  // namespace tovrel
