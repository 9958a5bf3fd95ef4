// --automate as a user meets it: against the gain fake, whose output is exactly the input times
// twice the Gain in force, so every frame shows which value the host had set; and against
// Tovrel, whose state carries from block to block.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {
namespace {

using Args = std::vector<std::string>;
constexpr int kFrames = 4410;

class AutomationTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string in = dir.path("in.wav"), out = dir.path("out.wav");
    std::string lanes = dir.path("lanes.csv");

    void SetUp() override {
        test::writeAudio(in, {2, 44100, std::vector<double>(2 * kFrames, 0.25)});
    }

    // Renders through `plugin` into `to` and reads the result back.
    test::Audio render(const std::string& plugin, Args extra, const std::string& to) {
        Args args = {"render", in, to, "--plugin", plugin};
        args.insert(args.end(), extra.begin(), extra.end());
        const test::CommandResult result = test::runTovrel(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return test::readAudio(to);
    }

    test::Audio automated(const std::string& plugin, const std::string& text, Args extra = {}) {
        test::writeText(lanes, text);
        extra.insert(extra.begin(), {"--automate", lanes});
        return render(plugin, extra, out);
    }
};

// What the gain fake writes for an input of 0.25 under this Gain.
double fakeOutput(float gain) {
    return static_cast<double>(0.25f * (2.0f * gain));
}

TEST_F(AutomationTest, ConstantAutomationEqualsSetBitForBit) {
    for (const std::string plugin : {FAKE_STEREO, TOVREL_PLUGIN}) {
        const test::Audio set = render(plugin, {"--set", "Gain=0.3"}, dir.path("set.wav"));
        const test::Audio csv =
            automated(plugin, "seconds,parameter,value\n0,Gain,0.3\n0.05,gain,0.3\n");
        EXPECT_TRUE(test::sameBits(set.samples, csv.samples)) << plugin;
        test::writeText(dir.path("lanes.json"), R"({"points": [{"frame": 100, "parameter": "Gain",
                                                                  "value": 0.3}]})");
        const test::Audio json =
            render(plugin, {"--automate", dir.path("lanes.json")}, dir.path("json.wav"));
        EXPECT_TRUE(test::sameBits(set.samples, json.samples)) << plugin;
    }
}

TEST_F(AutomationTest, AStepChangesNothingBeforeItsFrameAndAllFromIt) {
    // Frame 1000 is not a multiple of the 32-frame step, and block 512 cuts across both.
    const std::string hold = "frame,parameter,value,shape\n0,Gain,0.5,\n";
    const std::string step = hold + "1000,Gain,0.9,step\n";
    const test::Audio fake = automated(FAKE_STEREO, step);
    for (int frame : {0, 999, 1000, kFrames - 1}) {
        EXPECT_EQ(fake.samples[2 * frame], fakeOutput(frame < 1000 ? 0.5f : 0.9f)) << frame;
    }
    // Tovrel's filters carry state, so only the frames before the step must match.
    const test::Audio without = render(TOVREL_PLUGIN, {"--set", "Gain=0.5"}, dir.path("ref.wav"));
    const test::Audio with = automated(TOVREL_PLUGIN, step);
    ASSERT_EQ(with.samples.size(), without.samples.size());
    const std::size_t cut = 2 * 1000;
    auto part = [](const test::Audio& audio, std::size_t from, std::size_t to) {
        return std::vector<double>(audio.samples.begin() + from, audio.samples.begin() + to);
    };
    EXPECT_TRUE(test::sameBits(part(without, 0, cut), part(with, 0, cut)));
    EXPECT_FALSE(test::sameBits(part(without, cut, cut + 2), part(with, cut, cut + 2)));
}

TEST_F(AutomationTest, ARampMovesAtEverySubBlockStartAndReachesItsEndValueAtItsEndPoint) {
    // A ramp from 0 at frame 0 to 1 at frame 1000; blocks of 100 against steps of 32 and 7.
    for (const int step : {32, 7}) {
        const test::Audio audio =
            automated(FAKE_STEREO, "frame,parameter,value\n0,Gain,0\n1000,Gain,1\n",
                      {"--automation-step", std::to_string(step), "--block", "100"});
        ASSERT_EQ(audio.samples.size(), 2u * kFrames);
        for (int frame = 0; frame < kFrames; ++frame) {
            // The value holds from each sub-block's start: the grid, or a block's start.
            const int start = std::max(frame / step * step, frame / 100 * 100);
            const float gain = static_cast<float>(std::min(start, 1000) / 1000.0);
            ASSERT_EQ(audio.samples[2 * frame], fakeOutput(gain))
                << "step " << step << " frame " << frame;
        }
        EXPECT_EQ(audio.samples[2 * 1000], fakeOutput(1.0f));
    }
}

TEST_F(AutomationTest, ABadFileGetsOneLineNamingTheLineAndTheField) {
    test::writeText(out, "an earlier render");
    const std::pair<std::string, std::string> cases[] = {
        {"seconds,parameter,value\n0,Gain,0.5\n1,Gain,abc\n", "line 3, field 'value'"},
        {"# lanes\nseconds,parameter,value\n\n0,Volume,0.5\n", "line 4, field 'parameter'"},
        {"seconds,parameter,value\n0,Gain,1.5\n", "line 2, field 'value'"},
        {"seconds,parameter,value\n-1,Gain,0.5\n", "line 2, field 'seconds'"},
        {"frame,parameter,value\n0.5,Gain,0.5\n", "line 2, field 'frame'"},
        {"frame,parameter,value,shape\n0,Gain,0.5,jump\n", "line 2, field 'shape'"},
        {"seconds,parameter\n0,Gain\n", "line 1, field 'value'"},
        {"seconds,parameter,value\n0,Gain\n", "line 2"},
        {R"([{"frame": 0, "parameter": "Gain", "value": 0.5},
             {"frame": 10, "parameter": 7, "value": 0.5}])",
         "point 2, field 'parameter'"},
        {R"([{"seconds": 0, "parameter": "Gain", "value": "high"}])", "point 1, field 'value'"},
        {"[{\"frame\": 0,\n \"parameter\": }]", "line 2"},
    };
    for (const auto& [text, fragment] : cases) {
        test::writeText(lanes, text);
        const test::CommandResult result =
            test::runTovrel({"render", in, out, "--plugin", FAKE_STEREO, "--automate", lanes});
        EXPECT_NE(result.exitCode, 0) << fragment;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(lanes), std::string::npos) << result.err;
        EXPECT_EQ(test::readText(out), "an earlier render") << fragment;
    }
}

TEST_F(AutomationTest, TheJsonSummaryNamesTheMovingParameters) {
    test::writeText(lanes, "seconds,parameter,value\n0,Pan Law,0\n0.05,Pan Law,1\n0,0,0.5\n");
    const test::CommandResult result = test::runTovrel(
        {"render", in, out, "--plugin", FAKE_STEREO, "--automate", lanes, "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto summary = nlohmann::json::parse(result.out)["automation"];
    EXPECT_EQ(summary["step"], 32);
    ASSERT_EQ(summary["parameters"].size(), 2u);
    EXPECT_EQ(summary["parameters"][0]["name"], "Gain");
    EXPECT_EQ(summary["parameters"][1]["name"], "Pan Law");
    EXPECT_EQ(summary["parameters"][1]["points"], 2);
}

}  // namespace
}  // namespace tovrel
