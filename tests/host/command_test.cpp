// The tovrel command as a user meets it: every bad input gives one clear line on stderr and a
// non-zero exit, and leaves the folder exactly as it was.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>

#include "test_support.h"

namespace tovrel {
namespace {

using Args = std::vector<std::string>;

class CommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string stereo = dir.path("stereo.wav");
    std::string out = dir.path("out.wav");

    void SetUp() override {
        test::writeAudio(stereo, {2, 44100, std::vector<float>(2 * 4410, 0.25f)});
        test::writeText(out, "an earlier good render");
    }

    // Fails cleanly: one line, non-zero exit, nothing written, the earlier output intact.
    void expectFailure(const Args& args, const std::string& fragment) {
        const auto before = dir.entries();
        const test::CommandResult result = test::runTovrel(args);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.rfind("tovrel: error: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
        EXPECT_EQ(dir.entries(), before);
        EXPECT_EQ(test::readText(out), "an earlier good render");
    }

    Args render(const std::string& plugin, Args extra = {}) {
        Args args = {"render", stereo, out, "--plugin", plugin};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
};

TEST_F(CommandTest, BadInputFilesAreRefused) {
    expectFailure({"render", dir.path("missing.wav"), out, "--plugin", FAKE_STEREO},
                  "No such file or directory");
    test::writeText(dir.path("text.wav"), "not audio at all");
    expectFailure({"render", dir.path("text.wav"), out, "--plugin", FAKE_STEREO},
                  "unsupported audio format");
    expectFailure({"render", stereo, out, "--plugin", FAKE_MONO_IN}, "2 channels");
}

TEST_F(CommandTest, BadOutputsAreRefused) {
    expectFailure({"render", stereo, dir.path("out.xyz"), "--plugin", FAKE_STEREO},
                  "cannot tell the output format");
    expectFailure({"render", stereo, dir.path("stereo.wav/out.wav"), "--plugin", FAKE_STEREO},
                  "cannot write");
    expectFailure(
        {"render", stereo, dir.path("out.flac"), "--plugin", FAKE_STEREO, "--bits", "32f"},
        "cannot hold");
}

TEST_F(CommandTest, BadSettingsAreRefused) {
    expectFailure(render(FAKE_STEREO, {"--set", "Volume=0.5"}), "unknown parameter 'Volume'");
    expectFailure(render(FAKE_STEREO, {"--set", "gain=half"}), "malformed value");
    expectFailure(render(FAKE_STEREO, {"--precision", "double"}), "double precision");
    expectFailure(render(FAKE_STEREO, {"--block", "0"}), "--block");
    expectFailure(render(FAKE_STEREO, {"--bits", "12"}), "--bits");
}

TEST_F(CommandTest, FilesThatAreNotPluginsAreRefused) {
    expectFailure(render(FAKE_NO_ENTRY), "exports neither VSTPluginMain nor main");
    expectFailure(render(FAKE_NULL_RECORD), "returned no effect");
    expectFailure(render(FAKE_BAD_MAGIC), "wrong magic number");
    expectFailure(render(stereo), "cannot load plug-in");
}

TEST_F(CommandTest, ForeignAndDamagedPresetsAreRefused) {
    const std::string preset = dir.path("chunky.fxp");
    ASSERT_EQ(test::runTovrel(render(FAKE_CHUNKS, {"--save-preset", preset})).exitCode, 0);
    test::writeText(out, "an earlier good render");
    expectFailure(render(FAKE_STEREO, {"--preset", preset}), "is for plug-in 'FkCh'");
    const std::string whole = test::readText(preset);
    test::writeText(dir.path("cut.fxp"), whole.substr(0, whole.size() - 1));
    expectFailure(render(FAKE_CHUNKS, {"--preset", dir.path("cut.fxp")}), "damaged preset");
    expectFailure(render(FAKE_CHUNKS, {"--preset", dir.path("none.fxp")}), "cannot read");
}

TEST_F(CommandTest, PresetSavedThenLoadedGivesTheSameFile) {
    const std::string first = dir.path("first.fxp");
    const std::string second = dir.path("second.fxp");
    for (const std::string plugin : {FAKE_CHUNKS, FAKE_STEREO}) {
        ASSERT_EQ(
            test::runTovrel(render(plugin, {"--set", "Pan Law=0.625", "--save-preset", first}))
                .exitCode,
            0);
        ASSERT_EQ(
            test::runTovrel(render(plugin, {"--preset", first, "--save-preset", second})).exitCode,
            0);
        EXPECT_EQ(test::readText(first), test::readText(second)) << plugin;
        EXPECT_GT(test::readText(first).size(), 56u);
    }
}

TEST_F(CommandTest, RenderWritesTheOutputAndASummaryWithoutProgressOffTerminal) {
    // Settings may come before the files: each --set takes exactly one value.
    const test::CommandResult result =
        test::runTovrel({"render", "--set", "0=0.25", stereo, out, "--plugin", FAKE_STEREO,
                         "--bits", "16", "--tail", "0.05"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");  // no progress bar when stderr is not a terminal
    EXPECT_NE(result.out.find("output ch 2"), std::string::npos);
    EXPECT_NE(result.out.find("x realtime"), std::string::npos);
    EXPECT_NE(result.out.find("0 samples clipped"), std::string::npos);
    const test::Audio audio = test::readAudio(out);
    EXPECT_EQ(audio.samples.size(), 2u * (4410 + 2205));
    EXPECT_NEAR(audio.samples[0], 0.125f, 1.0f / 32768);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.wav", "stereo.wav"}));
}

TEST_F(CommandTest, InfoListsIdentityParametersAndCapabilities) {
    const test::CommandResult result = test::runTovrel({"info", "--plugin", FAKE_CHUNKS});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text : {"Effect      Fake", "Unique ID   FkCh",
                             "CanReplacing ProgramChunks "
                             "CanDoubleReplacing",
                             "Channels    2 in, 2 out", "Pan Law", "bypass                 yes",
                             "offline                no"}) {
        EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
    }
}

TEST_F(CommandTest, DemoRendersTwiceIntoOneFile) {
    const std::string demo = dir.path("demo.wav");
    test::CommandResult result = test::runTovrel({"demo", demo, "--plugin", FAKE_STEREO});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("No stronger setting known"), std::string::npos);
    const std::size_t once = test::readAudio(demo).samples.size();
    result = test::runTovrel({"demo", demo, "--plugin", FAKE_STEREO, "--set", "gain=0.75"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("stronger (gain=0.75)"), std::string::npos);
    const test::Audio both = test::readAudio(demo);
    ASSERT_EQ(both.samples.size(), 2 * once);
    EXPECT_GT(
        *std::max_element(both.samples.begin() + static_cast<long>(once), both.samples.end()),
        *std::max_element(both.samples.begin(), both.samples.begin() + static_cast<long>(once)));
}

TEST_F(CommandTest, DrivesAThirdPartyDebianPlugin) {
    const std::string eq = "/usr/lib/vst/3BandEQ-vst.so";  // from dpf-plugins-vst
    if (access(eq.c_str(), R_OK) != 0) GTEST_SKIP() << "dpf-plugins-vst is not installed";
    const std::string mono = dir.path("mono.flac");
    test::writeAudio(mono, {1, 48000, std::vector<float>(4800, 0.25f)},
                     SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    const test::CommandResult result =
        test::runTovrel({"render", mono, out, "--plugin", eq, "--set", "master=0.5"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const test::Audio audio = test::readAudio(out);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.sampleRate, 48000);
    EXPECT_EQ(audio.samples.size(), 9600u);
    EXPECT_NE(test::runTovrel({"info", "--plugin", eq}).out.find("3 Band EQ"), std::string::npos);
}

}  // namespace
}  // namespace tovrel
