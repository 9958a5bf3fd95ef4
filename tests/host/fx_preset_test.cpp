// Program and bank files: the published layout, round trips, and damaged or hostile files.
#include "host/fx_preset.h"

#include <gtest/gtest.h>

#include "host/byte_order.h"
#include "host/host_error.h"

namespace tovrel {
namespace {

constexpr VstInt32 kId = fourCharCode('t', 'v', 'r', 'l');

FxProgram valuesProgram() {
    FxProgram program;
    program.pluginId = kId;
    program.pluginVersion = 1000;
    program.name = "Warm";
    program.values = {0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
    return program;
}

FxProgram chunkProgram() {
    FxProgram program = valuesProgram();
    program.values.clear();
    program.opaque = true;
    program.parameterCount = 5;
    program.chunk = {1, 2, 3, 4, 5, 6, 7};
    return program;
}

std::uint32_t wordAt(const Bytes& bytes, std::size_t offset) {
    return readBigEndian32(bytes.data() + offset);
}

void putWord(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    Bytes word;
    appendBigEndian32(word, value);
    std::copy(word.begin(), word.end(), bytes.begin() + static_cast<long>(offset));
}

TEST(FxPresetTest, ProgramLayoutIsTheStandardOne) {
    const Bytes values = serializeProgram(valuesProgram());
    ASSERT_EQ(values.size(), 56u + 5 * 4);
    EXPECT_EQ(wordAt(values, 0), static_cast<std::uint32_t>(fourCharCode('C', 'c', 'n', 'K')));
    EXPECT_EQ(wordAt(values, 4), values.size() - 8);
    EXPECT_EQ(wordAt(values, 8), static_cast<std::uint32_t>(fourCharCode('F', 'x', 'C', 'k')));
    EXPECT_EQ(wordAt(values, 12), 1u);
    EXPECT_EQ(wordAt(values, 16), static_cast<std::uint32_t>(kId));
    EXPECT_EQ(wordAt(values, 20), 1000u);
    EXPECT_EQ(wordAt(values, 24), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&values[28])), "Warm");
    EXPECT_EQ(values[55], 0);
    EXPECT_EQ(wordAt(values, 56), 0x3dcccccdu);  // 0.1f, big-endian

    const Bytes chunk = serializeProgram(chunkProgram());
    ASSERT_EQ(chunk.size(), 60u + 7);
    EXPECT_EQ(wordAt(chunk, 8), static_cast<std::uint32_t>(fourCharCode('F', 'P', 'C', 'h')));
    EXPECT_EQ(wordAt(chunk, 24), 5u);
    EXPECT_EQ(wordAt(chunk, 56), 7u);
    EXPECT_EQ(chunk.back(), 7);
}

TEST(FxPresetTest, BankLayoutKeepsReservedBytesZeroAndProgramsFollow) {
    FxBank bank;
    bank.pluginId = kId;
    bank.programs = {valuesProgram(), valuesProgram()};
    const Bytes bytes = serializeBank(bank);
    EXPECT_EQ(wordAt(bytes, 8), static_cast<std::uint32_t>(fourCharCode('F', 'x', 'B', 'k')));
    EXPECT_EQ(wordAt(bytes, 24), 2u);
    for (std::size_t i = 28; i < 156; ++i) ASSERT_EQ(bytes[i], 0) << "reserved byte " << i;
    EXPECT_EQ(wordAt(bytes, 156), static_cast<std::uint32_t>(fourCharCode('C', 'c', 'n', 'K')));
    EXPECT_EQ(bytes.size(), 156u + 2 * (56 + 20));

    FxBank opaque;
    opaque.pluginId = kId;
    opaque.opaque = true;
    opaque.chunk = {9, 8};
    const Bytes chunk = serializeBank(opaque);
    EXPECT_EQ(wordAt(chunk, 8), static_cast<std::uint32_t>(fourCharCode('F', 'B', 'C', 'h')));
    EXPECT_EQ(wordAt(chunk, 156), 2u);
    EXPECT_EQ(chunk.size(), 162u);
}

TEST(FxPresetTest, AllFourFormsRoundTrip) {
    for (const FxProgram& original : {valuesProgram(), chunkProgram()}) {
        const auto parsed = std::get<FxProgram>(parsePreset(serializeProgram(original)));
        EXPECT_EQ(parsed.opaque, original.opaque);
        EXPECT_EQ(parsed.name, original.name);
        EXPECT_EQ(parsed.values, original.values);
        EXPECT_EQ(parsed.chunk, original.chunk);
        EXPECT_EQ(parsed.pluginId, kId);
        EXPECT_EQ(parsed.pluginVersion, 1000);
    }
    FxBank bank;
    bank.pluginId = kId;
    bank.programs = {valuesProgram(), chunkProgram()};
    const auto programs = std::get<FxBank>(parsePreset(serializeBank(bank)));
    ASSERT_EQ(programs.programs.size(), 2u);
    EXPECT_EQ(programs.programs[1].chunk, chunkProgram().chunk);
    bank.opaque = true;
    bank.chunk = {4, 2};
    EXPECT_EQ(std::get<FxBank>(parsePreset(serializeBank(bank))).chunk, bank.chunk);
}

TEST(FxPresetTest, AcceptsFormatVersionTwoButNotOthers) {
    Bytes bytes = serializeProgram(valuesProgram());
    putWord(bytes, 12, 2);
    EXPECT_NO_THROW(parsePreset(bytes));
    putWord(bytes, 12, 3);
    EXPECT_THROW(parsePreset(bytes), HostError);
}

TEST(FxPresetTest, EveryTruncationIsRefused) {
    FxBank bank;
    bank.pluginId = kId;
    bank.programs = {valuesProgram(), chunkProgram()};
    for (const Bytes& whole : {serializeProgram(valuesProgram()), serializeProgram(chunkProgram()),
                               serializeBank(bank)}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
            EXPECT_THROW(parsePreset(cut), HostError) << "cut to " << size;
        }
    }
}

TEST(FxPresetTest, HostileLengthsNeverReadPastTheEnd) {
    const Bytes program = serializeProgram(valuesProgram());
    Bytes lying = program;
    putWord(lying, 4, 0x7FFFFFF0u);  // announces far more than there is
    EXPECT_THROW(parsePreset(lying), HostError);
    lying = program;
    putWord(lying, 24, 0x40000000u);  // a billion values
    EXPECT_THROW(parsePreset(lying), HostError);
    lying = program;
    putWord(lying, 24, 0xFFFFFFFFu);  // negative count
    EXPECT_THROW(parsePreset(lying), HostError);

    Bytes chunk = serializeProgram(chunkProgram());
    putWord(chunk, 56, 8);  // one byte more than present
    EXPECT_THROW(parsePreset(chunk), HostError);

    FxBank bank;
    bank.pluginId = kId;
    bank.programs = {valuesProgram()};
    Bytes banked = serializeBank(bank);
    putWord(banked, 24, 2);  // claims a second program that is not there
    EXPECT_THROW(parsePreset(banked), HostError);
    banked = serializeBank(bank);
    putWord(banked, 156 + 4, 1000);  // inner program longer than the bank
    EXPECT_THROW(parsePreset(banked), HostError);
}

TEST(FxPresetTest, RefusesForeignRecords) {
    Bytes bytes = serializeProgram(valuesProgram());
    bytes[0] = 'X';
    EXPECT_THROW(parsePreset(bytes), HostError);
    bytes = serializeProgram(valuesProgram());
    putWord(bytes, 8, static_cast<std::uint32_t>(fourCharCode('J', 'u', 'n', 'k')));
    EXPECT_THROW(parsePreset(bytes), HostError);

    FxBank bank;
    bank.pluginId = kId;
    FxProgram stranger = valuesProgram();
    stranger.pluginId = fourCharCode('o', 't', 'h', 'r');
    bank.programs = {stranger};
    EXPECT_THROW(parsePreset(serializeBank(bank)), HostError);
}

}  // namespace
}  // namespace tovrel
