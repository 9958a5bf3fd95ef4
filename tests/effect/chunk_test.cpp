#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

using Values = std::vector<float>;
const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<unsigned char> saveChunk(Tovrel& effect, bool isPreset = false) {
    void* data = nullptr;
    EXPECT_EQ(effect.getChunk(&data, isPreset), 20);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return {bytes, bytes + 20};
}

std::vector<unsigned char> chunkOf(const Values& values) {
    std::vector<unsigned char> bytes(4 * values.size());
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

// The same values as the opposite-endian build saves them.
std::vector<unsigned char> swappedChunkOf(const Values& values) {
    auto bytes = chunkOf(values);
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        std::swap(bytes[i], bytes[i + 3]);
        std::swap(bytes[i + 1], bytes[i + 2]);
    }
    return bytes;
}

Values clamped(Values values) {
    for (float& value : values) value = value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
    return values;
}

Values loadInFreshInstance(std::vector<unsigned char> bytes) {
    auto effect = testing::makeTovrel();
    effect->setChunk(bytes.data(), static_cast<VstInt32>(bytes.size()));
    Values loaded;
    for (VstInt32 i = 0; i < 5; ++i) loaded.push_back(effect->getParameter(i));
    return loaded;
}

void expectParameters(Tovrel& effect, const Values& expected) {
    for (VstInt32 i = 0; i < 5; ++i) {
        const float actual = effect.getParameter(i);
        EXPECT_TRUE(std::isnan(expected[i]) ? std::isnan(actual) : actual == expected[i]) << i;
    }
}

TEST(TovrelChunk, SavesTheFieldsUnclampedInNativeOrderIntoOneBlock) {
    auto effect = testing::makeTovrel();
    EXPECT_EQ(saveChunk(*effect), chunkOf({0.1f, 0.5f, 0.5f, 1.0f, 1.0f}));
    effect->setParameter(3, 2.0f);
    EXPECT_EQ(saveChunk(*effect, true), chunkOf({0.1f, 0.5f, 0.5f, 2.0f, 1.0f}));
    void* first = nullptr;
    effect->getChunk(&first);
    for (int i = 0; i < 1000; ++i) {  // saving a project a thousand times allocates nothing
        void* again = nullptr;
        effect->getChunk(&again);
        ASSERT_EQ(again, first);
    }
}

TEST(TovrelChunk, LoadsTheFirstTwentyBytesWhateverTheFlagAndSize) {
    const Values values = {0.0f, 0.25f, 1.0f, 0.125f, 0.75f};
    auto saved = chunkOf(values);
    saved.resize(64, 0xEE);
    auto effect = testing::makeTovrel();
    EXPECT_EQ(effect->setChunk(saved.data(), 64, true), 0);
    expectParameters(*effect, values);
    EXPECT_EQ(saveChunk(*effect), chunkOf(values));
}

TEST(TovrelChunk, LoadingClampsToTheControlRange) {
    const std::pair<Values, Values> cases[] = {
        {{1.5f, -0.2f, kInf, -kInf, kNaN}, {1.0f, 0.0f, 1.0f, 0.0f, kNaN}},
        // Out-of-range but ordinary magnitudes are legal saves: native, clamped.
        {{2.0f, 0.5f, 0.5f, 0.5f, 0.5f}, {1.0f, 0.5f, 0.5f, 0.5f, 0.5f}},
    };
    for (const auto& [stored, loaded] : cases) {
        auto effect = testing::makeTovrel();
        auto bytes = chunkOf(stored);
        effect->setChunk(bytes.data(), 20, false);
        expectParameters(*effect, loaded);
    }
    auto effect = testing::makeTovrel();
    auto bytes = chunkOf({-0.0f, 0.5f, 0.5f, 0.5f, 0.5f});
    effect->setChunk(bytes.data(), 20);
    EXPECT_TRUE(std::signbit(effect->getParameter(0)));  // negative zero is not below zero
}

TEST(TovrelChunk, BigEndianChunkLoadsOnEitherByteOrder) {
    // Default settings as saved by the big-endian build: native there, swapped here.
    unsigned char bigEndian[20] = {0x3d, 0xcc, 0xcc, 0xcd, 0x3f, 0x00, 0x00, 0x00, 0x3f, 0x00,
                                   0x00, 0x00, 0x3f, 0x80, 0x00, 0x00, 0x3f, 0x80, 0x00, 0x00};
    auto effect = testing::makeTovrel();
    for (VstInt32 i = 0; i < 5; ++i) effect->setParameter(i, 0.3f);
    effect->setChunk(bigEndian, 20);
    expectParameters(*effect, {0.1f, 0.5f, 0.5f, 1.0f, 1.0f});
}

TEST(TovrelChunk, OutOfRangeSavesReloadClampedNotByteSwapped) {
    // A negative Gain once made the whole chunk load as swapped near-zero values: a silent project.
    auto saver = testing::makeTovrel();
    for (VstInt32 i = 0; i < 5; ++i) saver->setParameter(i, 0.7f);
    saver->setParameter(3, -0.7f);
    EXPECT_EQ(loadInFreshInstance(saveChunk(*saver)), Values({0.7f, 0.7f, 0.7f, 0.0f, 0.7f}));

    const Values saves[] = {
        {0.35f, 0.0f, 0.0f, 1.4f, 0.7f},
        {-0.7f, -0.7f, -0.7f, -0.7f, -0.7f},
        {3.0f, -3.0f, 0.5f, 0.25f, 1.0f},
        {0x1p24f, -0x1p24f, 0x1p-24f, -0x1p-24f, 0.1f},  // the widest magnitudes a save can hold
        {1.0000001f, -1e-7f, 0.9f, 100.0f, -0.0f},
    };
    for (const Values& saved : saves)
        EXPECT_EQ(loadInFreshInstance(chunkOf(saved)), clamped(saved))
            << saved[0] << " " << saved[3];
}

TEST(TovrelChunk, OrdinaryBigEndianSettingsLoadAsSaved) {
    const Values saved = {0.7f, 0.35f, 0.9f, 0.1f, 0.6f};
    EXPECT_EQ(loadInFreshInstance(swappedChunkOf(saved)), saved);
    // A native reading with a defect but a swapped reading that is no control value stays native.
    const Values nativeNaN = {0.5f, 0.5f, 0.5f, 0.5f, kNaN};
    EXPECT_TRUE(std::isnan(loadInFreshInstance(chunkOf(nativeNaN))[4]));
}

TEST(TovrelChunk, RandomChunksReloadAsSavedInEitherByteOrder) {
    std::mt19937 random(20261206);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), wide(-3.0f, 3.0f);
    auto draw = [&](auto& distribution) {
        Values values(5);
        for (float& value : values) value = distribution(random);
        return values;
    };
    for (int i = 0; i < 300; ++i) {
        const Values inRange = draw(unit), outOfRange = draw(wide), bigEndian = draw(unit);
        ASSERT_EQ(loadInFreshInstance(chunkOf(inRange)), inRange) << i;
        ASSERT_EQ(loadInFreshInstance(chunkOf(outOfRange)), clamped(outOfRange)) << i;
        ASSERT_EQ(loadInFreshInstance(swappedChunkOf(bigEndian)), bigEndian) << i;
    }
}

TEST(TovrelChunk, NullOrShortBlocksAreRefusedWithoutReadingPastThem) {
    auto effect = testing::makeTovrel();
    EXPECT_EQ(effect->setChunk(nullptr, 20), 0);
    for (VstInt32 size : {0, 4, 19, -20}) {
        // Exactly sized allocation: AddressSanitizer catches any read past it.
        auto block = std::make_unique<unsigned char[]>(size > 0 ? size : 1);
        EXPECT_EQ(effect->setChunk(block.get(), size), 0);
    }
    expectParameters(*effect, {0.1f, 0.5f, 0.5f, 1.0f, 1.0f});
    EXPECT_EQ(effect->getChunk(nullptr), 0);
}

}  // namespace
}  // namespace tovrel
