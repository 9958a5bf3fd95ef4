// The built Tovrel.so through the command and through the record in-process: the same input,
// settings and noise seeds give the same samples, bit for bit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "host/buffer_render.h"
#include "host/demo_signal.h"
#include "host/noise_seeds.h"
#include "host/parameter_lookup.h"
#include "test_support.h"

namespace tovrel {

constexpr NoiseSeeds kSeeds{123456789u, 987654321u};
const std::vector<std::string> kSettings = {"Hi=0.7", "lo=0.3", "0=0.2"};

// A fresh instance, seeded and set as the command does it for --noise-seeds and --set.
std::unique_ptr<Plugin> freshInstance(NoiseSeeds seeds = kSeeds) {
    auto plugin = Plugin::open(TOVREL_PLUGIN);
    EXPECT_TRUE(setNoiseSeeds(*plugin, seeds));
    for (const std::string& text : kSettings) {
        const ParameterAssignment assignment = parseAssignment(*plugin, text, false);
        plugin->setParameter(assignment.index, assignment.value);
    }
    return plugin;
}

class TovrelEndToEndTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string input = dir.path("in.wav"), out = dir.path("out.wav");
    std::vector<float> signal = makeDemoSignal(3.0);
    std::vector<double> wide{signal.begin(), signal.end()};

    void SetUp() override { test::writeAudio(input, {kDemoChannels, kDemoSampleRate, wide}); }

    int render(std::vector<std::string> extra) {
        std::vector<std::string> args = {"render",
                                         input,
                                         out,
                                         "--plugin",
                                         TOVREL_PLUGIN,
                                         "--quiet",
                                         "--noise-seeds",
                                         "123456789,987654321"};
        for (const std::string& text : kSettings) args.insert(args.end(), {"--set", text});
        args.insert(args.end(), extra.begin(), extra.end());
        return test::runTovrel(args).exitCode;
    }
};

TEST_F(TovrelEndToEndTest, CommandMatchesInProcessRenderBitForBitInBothPrecisions) {
    ASSERT_EQ(render({}), 0);
    const std::vector<float> single =
        renderBuffer(*freshInstance(), signal, kDemoChannels, kDemoSampleRate, 512).audio;
    EXPECT_TRUE(test::sameBits(test::readAudio(out).samples, {single.begin(), single.end()}));
    EXPECT_NE(single, signal);  // the effect really did something
    ASSERT_EQ(render({"--precision", "double", "--bits", "64f", "--block", "300"}), 0);
    EXPECT_TRUE(test::sameBits(
        test::readAudio(out).samples,
        renderBuffer(*freshInstance(), wide, kDemoChannels, kDemoSampleRate, 300).audio));
}

TEST_F(TovrelEndToEndTest, DefaultNoiseSeedsAreWhatAnUnseededGlibcProcessDraws) {
    std::vector<std::string> args = {"render", input, out, "--plugin", TOVREL_PLUGIN};
    for (const std::string& text : kSettings) args.insert(args.end(), {"--set", text});
    ASSERT_EQ(test::runTovrel(args).exitCode, 0);
    const std::vector<float> expected = renderBuffer(*freshInstance(kDefaultNoiseSeeds), signal,
                                                     kDemoChannels, kDemoSampleRate, 512)
                                            .audio;
    EXPECT_TRUE(test::sameBits(test::readAudio(out).samples, {expected.begin(), expected.end()}));
    for (const char* bad : {"16385,99999", "99999", "1,2,3", "-5,99999", "99999,4294967296"}) {
        const test::CommandResult result = test::runTovrel(
            {"render", input, out, "--plugin", TOVREL_PLUGIN, "--noise-seeds", bad});
        EXPECT_NE(result.err.find("malformed noise seeds"), std::string::npos) << bad;
    }
}

TEST_F(TovrelEndToEndTest, PresetSaveThenLoadGivesTheIdenticalChunk) {
    const std::string first = dir.path("first.fxp"), second = dir.path("second.fxp");
    ASSERT_EQ(render({"--save-preset", first}), 0);
    const std::vector<std::string> reload = {"render",   input,           out,
                                             "--plugin", TOVREL_PLUGIN,   "--preset",
                                             first,      "--save-preset", second};
    ASSERT_EQ(test::runTovrel(reload).exitCode, 0);
    EXPECT_EQ(test::readText(first), test::readText(second));
}

TEST_F(TovrelEndToEndTest, DemoRendersDefaultsAndTheStrongerSetting) {
    const test::CommandResult result = test::runTovrel({"demo", out, "--plugin", TOVREL_PLUGIN});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("stronger (Hi=0.8, Lo=0.8, Gain=0.8)"), std::string::npos);
    EXPECT_EQ(test::readAudio(out).samples.size(), 2 * makeDemoSignal().size());
}

TEST(TovrelPlotTest, ShowsTheLowPassCornerAndMoreOddHarmonicsAsTheBandsAreDriven) {
    const test::CommandResult result =
        test::runTovrel({"plot", "--plugin", TOVREL_PLUGIN, "--what", "response,harmonics",
                         "--compare", "Hi=0.8,Lo=0.8", "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const nlohmann::json plot = nlohmann::json::parse(result.out);
    double thd[2];
    for (int s = 0; s < 2; ++s) {
        const nlohmann::json& setting = plot["settings"][s];
        // Four low-pass sections at 19160 Hz: the response falls 3 dB a little below that.
        const double corner = setting["response"]["channels"][0]["upperCornerHz"];
        EXPECT_GT(corner, 17000.0);
        EXPECT_LT(corner, 19160.0);
        const nlohmann::json& harmonics = setting["harmonics"]["channels"][0];
        thd[s] = harmonics["thdPercent"];
        // Symmetric saturators: the third harmonic stands far above the second.
        EXPECT_GT(harmonics["harmonics"][2]["relativeDb"].get<double>(),
                  harmonics["harmonics"][1]["relativeDb"].get<double>() + 60.0);
    }
    EXPECT_GT(thd[1], 2 * thd[0]);
}

}  // namespace tovrel
