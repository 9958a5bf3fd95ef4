#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

using testing::makeTovrel;

TEST(TovrelIdentity, ProgramNameKeepsTwentyFourCharactersTerminated) {
    auto effect = makeTovrel();
    std::string longName = "abcdefghijklmnopqrstuvwxyz0123";
    effect->setProgramName(longName.data());
    char text[40];
    std::memset(text, 0xAB, sizeof text);
    effect->getProgramName(text);
    EXPECT_EQ(std::string(text), longName.substr(0, 24));
    EXPECT_EQ(static_cast<unsigned char>(text[25]), 0xAB);
}

TEST(TovrelIdentity, CanDoMatchesExactlyAndNeverAnswersNeutral) {
    auto effect = makeTovrel();
    const std::pair<const char*, VstInt32> cases[] = {{"plugAsChannelInsert", 1},
                                                      {"plugAsSend", 1},
                                                      {"x2in2out", 1},
                                                      {"plugAsSen", -1},
                                                      {"PLUGASSEND", -1},
                                                      {"plugAsSends", -1},
                                                      {"receiveVstMidiEvent", -1},
                                                      {"", -1}};
    for (const auto& [text, answer] : cases) {
        std::string copy = text;
        EXPECT_EQ(effect->canDo(copy.data()), answer) << text;
    }
    EXPECT_EQ(effect->canDo(nullptr), -1);
}

TEST(TovrelIdentity, SeedsComeFromSuccessiveRandDraws) {
    std::srand(7);
    auto first = makeTovrel();
    auto second = makeTovrel();
    std::srand(7);
    std::uint32_t expected[4];
    for (auto& seed : expected) seed = static_cast<std::uint32_t>(std::rand()) * 4294967295u;
    const std::uint32_t seeds[4] = {first->signalState().fpdL, first->signalState().fpdR,
                                    second->signalState().fpdL, second->signalState().fpdR};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(seeds[i], expected[i]);
        EXPECT_GT(seeds[i], 16385u);
    }
}

}  // namespace
}  // namespace tovrel
