// Chains of plug-ins: order, settings and presets per member, channels matched between them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {
namespace {

using Args = std::vector<std::string>;
constexpr int kFrames = 1000;

class ChainTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string in = dir.path("in.wav"), out = dir.path("out.wav");

    test::CommandResult render(Args extra, const std::string& from = "") {
        Args args = {"render", from.empty() ? in : from, out};
        args.insert(args.end(), extra.begin(), extra.end());
        return test::runTovrel(args);
    }
};

TEST_F(ChainTest, PlugInsRunInTheOrderGivenEachWithItsOwnSettings) {
    test::writeAudio(in, {2, 44100, std::vector<double>(2 * kFrames, 0.4)});
    // The clipper (gain, then a clip at 0.5) then the gain: 0.4 * 1.5 clips to 0.5, doubled to
    // 1. The other way round the gain makes 0.8 and the clipper leaves 0.5.
    const Args chain = {"--plugin", FAKE_CLIPPER, "--plugin", FAKE_STEREO};
    Args args = chain;
    args.insert(args.end(), {"--set", "1:Gain=0.75", "--set", "2:Gain=1"});
    ASSERT_EQ(render(args).exitCode, 0);
    EXPECT_EQ(test::readAudio(out).samples.back(), 1.0);
    // A bare name sets only the first member that has it: 0.4 * 0.5, then the default gain of 1.
    args = chain;
    args.insert(args.end(), {"--set", "Gain=0.25"});
    ASSERT_EQ(render(args).exitCode, 0);
    EXPECT_EQ(test::readAudio(out).samples.back(), 0.2f);
    // A member number beyond the chain is refused.
    const test::CommandResult beyond = render({"--plugin", FAKE_STEREO, "--set", "3:Gain=1"});
    EXPECT_NE(beyond.err.find("no plug-in 3 in '3:Gain=1': the chain has 1"), std::string::npos)
        << beyond.err;
}

TEST_F(ChainTest, AutomationAddressesAMemberByItsNumber) {
    test::writeAudio(in, {2, 44100, std::vector<double>(2 * kFrames, 0.4)});
    const std::string lanes = dir.path("lanes.csv");
    test::writeText(lanes, "frame,parameter,value,shape\n0,2:Gain,1,\n500,2:Gain,0.25,step\n");
    const test::CommandResult result = render({"--plugin", FAKE_CLIPPER, "--plugin", FAKE_STEREO,
                                               "--set", "Gain=0.75", "--automate", lanes});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Automated 2:Gain"), std::string::npos) << result.out;
    // The clipper holds 0.5 throughout; the second member doubles it, then halves it from 500.
    const test::Audio audio = test::readAudio(out);
    EXPECT_EQ(audio.samples[2 * 499], 1.0);
    EXPECT_EQ(audio.samples[2 * 500], 0.25);
}

TEST_F(ChainTest, ChannelsAreMatchedAsHostsDoAndTheMatchIsStated) {
    std::vector<double> ramp(2 * kFrames);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<double>(i / 2) / 4096.0;
    test::writeAudio(in, {2, 44100, ramp});
    // The delay holds channel 1 back 1 frame and channel 2 back 2; the mono-input fake keeps
    // only the first and sends it to both outputs, here at a gain of 1.
    const test::CommandResult dropped =
        render({"--plugin", FAKE_DELAY, "--plugin", FAKE_MONO_IN, "--set", "2:Gain=0.5"});
    ASSERT_EQ(dropped.exitCode, 0) << dropped.err;
    EXPECT_NE(dropped.out.find("Into plug-in 2 (Fake): 2 channels into 1 input, extra dropped"),
              std::string::npos)
        << dropped.out;
    const test::Audio audio = test::readAudio(out);
    for (int frame : {1, 2, 500, kFrames - 1}) {
        EXPECT_EQ(audio.samples[2 * frame], ramp[2 * (frame - 1)]) << frame;
        EXPECT_EQ(audio.samples[2 * frame + 1], ramp[2 * (frame - 1)]) << frame;
    }
    // One output copied to both inputs of the next.
    const test::CommandResult copied =
        render({"--plugin", FAKE_ONE_OUT, "--plugin", FAKE_STEREO, "--json"});
    ASSERT_EQ(copied.exitCode, 0) << copied.err;
    const auto chain = nlohmann::json::parse(copied.out)["chain"];
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_TRUE(chain[0]["channelMatch"].is_null());
    EXPECT_EQ(chain[1]["channelMatch"], "1 channel into 2 inputs, copied");
    const test::Audio both = test::readAudio(out);
    EXPECT_EQ(both.channels, 2);
    EXPECT_EQ(both.samples[2 * 700], both.samples[2 * 700 + 1]);
    EXPECT_EQ(both.samples[2 * 700], ramp[2 * 700]);
}

TEST_F(ChainTest, PresetsFollowTheChainNumbering) {
    test::writeAudio(in, {2, 44100, std::vector<double>(2 * kFrames, 0.1)});
    const std::string preset = dir.path("second.fxp");
    const Args chain = {"--plugin", FAKE_STEREO, "--plugin", FAKE_CHUNKS};
    Args save = chain;
    save.insert(save.end(), {"--set", "2:Pan Law=0.625", "--save-preset", "2:" + preset});
    ASSERT_EQ(render(save).exitCode, 0);
    Args load = chain;
    load.insert(load.end(), {"--preset", "2:" + preset, "--json"});
    const test::CommandResult loaded = render(load);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const auto members = nlohmann::json::parse(loaded.out)["chain"];
    EXPECT_EQ(members[1]["parameters"][1]["value"], 0.625);
    EXPECT_EQ(members[0]["parameters"][1]["value"], 0.25);  // the first keeps its default
    // A bare preset belongs to the first member, which is another plug-in.
    Args bare = chain;
    bare.insert(bare.end(), {"--preset", preset});
    EXPECT_NE(render(bare).err.find("is for plug-in 'FkCh'"), std::string::npos);
}

}  // namespace
}  // namespace tovrel
