#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

using testing::makeTovrel;

TEST(TovrelIdentity, FreshRecordDescribesTheEffect) {
    auto effect = makeTovrel();
    const AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->magic, 1450406992);
    EXPECT_EQ(record->numPrograms, 0);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsProgramChunks |
                                 effFlagsCanDoubleReplacing);
    EXPECT_EQ(record->uniqueID, ('t' << 24) | ('v' << 16) | ('r' << 8) | 'l');
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, static_cast<AudioEffect*>(effect.get()));
    EXPECT_EQ(effect->getPlugCategory(), kPlugCategEffect);
    EXPECT_EQ(effect->getVendorVersion(), 1000);
}

// Each identity text is a bounded copy: the text, zero padding through position N, and not a
// byte beyond.
void expectBoundedText(const char* written, const char* expected, std::size_t n) {
    EXPECT_STREQ(written, expected);
    for (std::size_t i = std::strlen(expected); i <= n; ++i) EXPECT_EQ(written[i], 0) << i;
    EXPECT_EQ(static_cast<unsigned char>(written[n + 1]), 0xAB) << "wrote past the bound";
}

TEST(TovrelIdentity, StringsAreBoundedCopies) {
    auto effect = makeTovrel();
    char text[80];
    std::memset(text, 0xAB, sizeof text);
    EXPECT_TRUE(effect->getEffectName(text));
    expectBoundedText(text, "Tovrel", 32);
    std::memset(text, 0xAB, sizeof text);
    EXPECT_TRUE(effect->getVendorString(text));
    expectBoundedText(text, "fellmarrow", 64);
    std::memset(text, 0xAB, sizeof text);
    EXPECT_TRUE(effect->getProductString(text));
    expectBoundedText(text, "fellmarrow Tovrel", 64);
    std::memset(text, 0xAB, sizeof text);
    effect->getProgramName(text);
    expectBoundedText(text, "Default", 24);
}

TEST(TovrelIdentity, ProgramNameKeepsTwentyFourCharacters) {
    auto effect = makeTovrel();
    std::string longName = "abcdefghijklmnopqrstuvwxyz0123";
    effect->setProgramName(longName.data());
    char text[40];
    std::memset(text, 0xAB, sizeof text);
    effect->getProgramName(text);
    expectBoundedText(text, longName.substr(0, 24).c_str(), 24);
}

TEST(TovrelIdentity, CanDoMatchesExactlyAndNeverAnswersNeutral) {
    auto effect = makeTovrel();
    for (const char* yes : {"plugAsChannelInsert", "plugAsSend", "x2in2out"}) {
        std::string text = yes;
        EXPECT_EQ(effect->canDo(text.data()), 1) << yes;
    }
    for (const char* no : {"plugAsSen", "PLUGASSEND", "plugAsSends", "receiveVstMidiEvent", ""}) {
        std::string text = no;
        EXPECT_EQ(effect->canDo(text.data()), -1) << no;
    }
    EXPECT_EQ(effect->canDo(nullptr), -1);
}

TEST(TovrelIdentity, NullHostBuffersAreTolerated) {
    auto effect = makeTovrel();
    EXPECT_FALSE(effect->getEffectName(nullptr));
    EXPECT_FALSE(effect->getVendorString(nullptr));
    EXPECT_FALSE(effect->getProductString(nullptr));
    effect->getProgramName(nullptr);
    effect->setProgramName(nullptr);
    effect->getParameterName(0, nullptr);
    effect->getParameterLabel(0, nullptr);
    effect->getParameterDisplay(0, nullptr);
}

TEST(TovrelIdentity, SeedsComeFromSuccessiveRandDraws) {
    std::srand(7);
    auto first = makeTovrel();
    auto second = makeTovrel();
    std::srand(7);
    std::uint32_t expected[4];
    for (auto& seed : expected) seed = static_cast<std::uint32_t>(std::rand()) * 4294967295u;
    EXPECT_EQ(first->signalState().fpdL, expected[0]);
    EXPECT_EQ(first->signalState().fpdR, expected[1]);
    EXPECT_EQ(second->signalState().fpdL, expected[2]);
    EXPECT_EQ(second->signalState().fpdR, expected[3]);
    for (auto seed : expected) EXPECT_GT(seed, 16385u);
}

}  // namespace
}  // namespace tovrel
