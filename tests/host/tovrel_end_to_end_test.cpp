// The built Tovrel.so through the command and through the record in-process: the same input,
// settings and noise seed give the same samples, bit for bit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "host/buffer_render.h"
#include "host/demo_signal.h"
#include "host/parameter_lookup.h"
#include "host/preset_transfer.h"
#include "test_support.h"

namespace tovrel {
namespace {

constexpr unsigned kSeed = 11;
const std::vector<std::string> kSettings = {"Hi=0.7", "lo=0.3", "0=0.2"};

class TovrelEndToEndTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string input = dir.path("in.wav");
    std::vector<float> signal = makeDemoSignal(3.0);

    void SetUp() override { test::writeAudio(input, {kDemoChannels, kDemoSampleRate, signal}); }

    std::unique_ptr<Plugin> freshInstance() {
        std::srand(kSeed);  // the effect seeds its noise from rand(), as the command's --seed
        auto plugin = Plugin::open(TOVREL_PLUGIN);
        for (const std::string& text : kSettings) {
            const ParameterAssignment assignment = parseAssignment(*plugin, text, false);
            plugin->setParameter(assignment.index, assignment.value);
        }
        return plugin;
    }

    std::vector<std::string> command(const std::string& output, std::vector<std::string> extra) {
        std::vector<std::string> args = {
            "render", input, output, "--plugin", TOVREL_PLUGIN, "--seed", std::to_string(kSeed),
            "--quiet"};
        for (const std::string& text : kSettings) {
            args.push_back("--set");
            args.push_back(text);
        }
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
};

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

TEST_F(TovrelEndToEndTest, CommandMatchesInProcessRenderInSinglePrecision) {
    const std::string output = dir.path("out.wav");
    const test::CommandResult result = test::runTovrel(command(output, {}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto plugin = freshInstance();
    const BufferRender<float> expected =
        renderBuffer(*plugin, signal, kDemoChannels, kDemoSampleRate, 512);
    const test::Audio rendered = test::readAudio(output);
    EXPECT_TRUE(sameBits(rendered.samples, expected.audio));
    EXPECT_FALSE(sameBits(rendered.samples, signal));  // the effect really did something
}

TEST_F(TovrelEndToEndTest, CommandMatchesInProcessRenderInDoublePrecision) {
    const std::string output = dir.path("out.wav");
    const test::CommandResult result = test::runTovrel(
        command(output, {"--precision", "double", "--bits", "64f", "--block", "300"}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto plugin = freshInstance();
    const std::vector<double> wide(signal.begin(), signal.end());
    const BufferRender<double> expected =
        renderBuffer(*plugin, wide, kDemoChannels, kDemoSampleRate, 300);
    EXPECT_TRUE(sameBits(test::readAudioDouble(output), expected.audio));
}

TEST_F(TovrelEndToEndTest, PresetSaveThenLoadGivesTheIdenticalChunk) {
    const std::string first = dir.path("first.fxp");
    const std::string second = dir.path("second.fxp");
    ASSERT_EQ(test::runTovrel(command(dir.path("a.wav"), {"--save-preset", first})).exitCode, 0);
    const std::vector<std::string> reload = {"render",   input,           dir.path("b.wav"),
                                             "--plugin", TOVREL_PLUGIN,   "--preset",
                                             first,      "--save-preset", second};
    ASSERT_EQ(test::runTovrel(reload).exitCode, 0);
    EXPECT_EQ(test::readText(first), test::readText(second));

    auto configured = freshInstance();
    auto loaded = Plugin::open(TOVREL_PLUGIN);
    applyPreset(*loaded, readPresetFile(first), first);
    EXPECT_EQ(captureProgram(*loaded).chunk, captureProgram(*configured).chunk);
    EXPECT_EQ(std::get<FxProgram>(readPresetFile(first)).chunk.size(), 20u);
}

TEST_F(TovrelEndToEndTest, DemoRendersDefaultsAndTheStrongerSetting) {
    const test::CommandResult result =
        test::runTovrel({"demo", dir.path("demo.wav"), "--plugin", TOVREL_PLUGIN});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("stronger (Hi=0.8, Lo=0.8, Gain=0.8)"), std::string::npos)
        << result.out;
    EXPECT_EQ(test::readAudio(dir.path("demo.wav")).samples.size(), 2 * makeDemoSignal().size());
}

}  // namespace
}  // namespace tovrel
