// Program and bank files: the published layout, damaged or hostile files refused without
// reading past their end, and presets that do not fit the plug-in. (The command's tests read
// all four forms back.)
#include <gtest/gtest.h>

#include "host/byte_order.h"
#include "host/host_error.h"
#include "host/preset_transfer.h"

namespace tovrel {
namespace {

constexpr VstInt32 kId = fourCharCode('t', 'v', 'r', 'l');

std::uint32_t tag(const char (&t)[5]) {
    return static_cast<std::uint32_t>(fourCharCode(t[0], t[1], t[2], t[3]));
}

FxProgram program(bool opaque) {
    return opaque ? FxProgram{kId, 1000, "Warm", true, 5, {}, {1, 2, 3, 4, 5, 6, 7}}
                  : FxProgram{kId, 1000, "Warm", false, 5, {0.1f, 0.5f, 0.5f, 1.0f, 1.0f}, {}};
}

Bytes bank(std::vector<FxProgram> programs, bool opaque = false) {
    return serializeBank({kId, 1000, opaque, 2, std::move(programs), {9, 8}});
}

const Bytes kValues = serializeProgram(program(false)), kChunk = serializeProgram(program(true));

Bytes with(Bytes bytes, std::size_t offset, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = (word >> (24 - 8 * i)) & 0xFF;
    return bytes;
}

TEST(FxPresetTest, LayoutIsTheStandardOne) {
    const Bytes programs = bank({program(false), program(false)}), opaque = bank({}, true);
    // The whole program header, then the words where the other forms differ.
    const std::uint32_t header[] = {
        tag("CcnK"), 68, tag("FxCk"), 1, kId, 1000, 5, tag("Warm"), 0, 0, 0, 0, 0, 0, 0x3dcccccd};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(readBigEndian32(&kValues[4 * i]), header[i]) << i;
    // clang-format off
    const std::tuple<const Bytes&, std::size_t, std::uint32_t> words[] = {
        {kChunk, 8, tag("FPCh")}, {kChunk, 24, 5}, {kChunk, 56, 7}, {programs, 8, tag("FxBk")},
        {programs, 24, 2}, {programs, 156, tag("CcnK")}, {opaque, 8, tag("FBCh")},
        {opaque, 156, 2}};
    // clang-format on
    for (const auto& [bytes, offset, word] : words) {
        EXPECT_EQ(readBigEndian32(&bytes[offset]), word) << offset;
        EXPECT_EQ(readBigEndian32(&bytes[4]), bytes.size() - 8);
    }
    for (std::size_t i = 28; i < 156; ++i) ASSERT_EQ(programs[i], 0) << "reserved byte " << i;
}

TEST(FxPresetTest, DamagedOrHostileFilesAreRefusedWithoutReadingPastTheEnd) {
    const Bytes one = bank({program(false)});
    FxProgram stranger = program(false);
    stranger.pluginId = kId + 1;
    EXPECT_NO_THROW(parsePreset(with(kValues, 12, 2)));  // format version 2 is read too
    // clang-format off
    const Bytes refused[] = {
        with(kValues, 12, 3), with(kValues, 0, tag("XcnK")), with(kValues, 8, tag("Junk")),
        with(kValues, 4, 0x7FFFFFF0u),  // far more than there is
        with(kValues, 24, 0x40000000u), with(kValues, 24, 0xFFFFFFFFu),  // huge, negative counts
        with(kChunk, 56, 8),            // one byte more than present
        with(one, 24, 2),              // a second program that is not there
        with(one, 160, 1000),          // an inner program longer than the bank
        bank({stranger})};
    // clang-format on
    for (const Bytes& bad : refused) EXPECT_THROW(parsePreset(bad), HostError) << &bad - refused;
    for (const Bytes& whole : {kValues, kChunk, bank({program(false), program(true)})}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
            EXPECT_THROW(parsePreset(cut), HostError) << "cut to " << size;
        }
    }
}

TEST(PresetTransferTest, RefusesPresetsThatDoNotFit) {
    auto source = Plugin::open(FAKE_STEREO);
    auto chunky = Plugin::open(FAKE_CHUNKS);
    FxProgram chunk = captureProgram(*chunky), extra = captureProgram(*source);
    extra.values.push_back(0.5f);
    EXPECT_THROW(applyPreset(*source, extra, "x"), HostError);  // more values than parameters
    chunk.pluginId = source->record().uniqueID;
    EXPECT_THROW(applyPreset(*source, chunk, "x"), HostError);  // a chunk for one that takes none
    chunk.chunk.clear();
    chunk.pluginId = chunky->record().uniqueID;
    EXPECT_THROW(applyPreset(*chunky, chunk, "x"), HostError);  // an empty chunk
}

}  // namespace
}  // namespace tovrel
