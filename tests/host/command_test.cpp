// The tovrel command as a user meets it: every bad input refused with one clear line and
// nothing lost, a render, presets in all four forms, and a third-party plug-in from Debian.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "test_support.h"

namespace tovrel {

using Args = std::vector<std::string>;
const std::string kEarlier = "an earlier good render";

class CommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string stereo = dir.path("stereo.wav"), out = dir.path("out.wav");

    void SetUp() override {
        test::writeAudio(stereo, {2, 44100, std::vector<double>(2 * 4410, 0.25)});
        test::writeText(out, kEarlier);
    }

    Args render(std::string plugin, Args extra = {}, std::string in = "", std::string to = "") {
        Args args = {"render", in.empty() ? stereo : in, to.empty() ? out : to, "--plugin", plugin};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
};

TEST_F(CommandTest, BadInputGivesOneLineAndNonZeroExitAndLosesNothing) {
    const std::string text = dir.path("text.wav"), preset = dir.path("chunky.fxp");
    test::writeText(text, "not audio at all");
    ASSERT_EQ(test::runTovrel(render(FAKE_CHUNKS, {"--save-preset", preset})).exitCode, 0);
    test::writeText(out, kEarlier);
    test::writeText(dir.path("cut.fxp"), test::readText(preset).substr(0, 60));
    test::fs::create_symlink(stereo, dir.path("link.wav"));
    const std::string original = test::readText(stereo);
    const std::pair<Args, std::string> cases[] = {
        {render(FAKE_STEREO, {}, stereo, stereo), "it is the input file"},
        {render(FAKE_STEREO, {}, stereo, dir.path("./stereo.wav")), "it is the input file"},
        {render(FAKE_STEREO, {}, stereo, dir.path("link.wav")), "it is the input file"},
        {render(FAKE_STEREO, {}, dir.path("missing.wav")), "No such file or directory"},
        {render(FAKE_STEREO, {}, text), "unsupported audio format"},
        {render(FAKE_MONO_IN), "2 channels"},
        {render(FAKE_STEREO, {}, stereo, dir.path("out.xyz")), "cannot tell the output format"},
        {render(FAKE_STEREO, {}, stereo, dir.path("stereo.wav/out.wav")), "cannot write"},
        {render(FAKE_STEREO, {"--bits", "32f"}, stereo, dir.path("out.flac")), "cannot hold"},
        {render(FAKE_STEREO, {"--set", "Volume=0.5"}), "unknown parameter 'Volume'"},
        {render(FAKE_STEREO, {"--set", "gain=half"}), "malformed value"},
        {render(FAKE_STEREO, {"--set", "gain=nan"}), "malformed value"},
        {render(FAKE_STEREO, {"--set", "gain=1e999"}), "malformed value"},
        {render(FAKE_STEREO, {"--set", "gain=1.5"}), "out of range"},
        {render(FAKE_STEREO, {"--set", "2=0.5"}), "no parameter with index 2"},
        {render(FAKE_STEREO, {"--set", "99999999999999999999=0.5"}), "no parameter with index"},
        {render(FAKE_STEREO, {"--precision", "double"}), "double precision"},
        {render(FAKE_STEREO, {"--block", "0"}), "--block"},
        {render(FAKE_STEREO, {"--bits", "12"}), "--bits"},
        {render(FAKE_NO_ENTRY), "exports neither VSTPluginMain nor main"},
        {render(FAKE_NULL_RECORD), "returned no effect"},
        {render(FAKE_BAD_MAGIC), "wrong magic number"},
        {render(stereo), "cannot load plug-in"},
        {render(FAKE_STEREO, {"--preset", preset}), "is for plug-in 'FkCh'"},
        {render(FAKE_CHUNKS, {"--preset", dir.path("cut.fxp")}), "damaged preset"},
        {render(FAKE_CHUNKS, {"--preset", dir.path("none.fxp")}), "cannot read"},
    };
    const auto before = dir.entries();
    for (const auto& [args, fragment] : cases) {
        const test::CommandResult result = test::runTovrel(args);
        EXPECT_NE(result.exitCode, 0) << fragment;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.rfind("tovrel: error: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
        EXPECT_EQ(dir.entries(), before) << fragment;
        EXPECT_EQ(test::readText(out), kEarlier) << fragment;
    }
    EXPECT_EQ(test::readText(stereo), original);
}

TEST_F(CommandTest, TheSameRenderWritesTheSameBytesInEveryFormat) {
    // Float input, so the containers that follow the input's sample format write floats too.
    const std::string in = dir.path("in.wav");
    std::vector<double> noise(2 * 9600);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = 0.5 * std::sin(0.01 * i * i);
    test::writeAudio(in, {2, 48000, noise}, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const std::pair<std::string, Args> outputs[] = {
        {"wav", {}},
        {"wav", {"--bits", "64f"}},
        {"wav", {"--bits", "16"}},
        {"aiff", {}},
        {"caf", {}},
        {"w64", {}},
        {"rf64", {}},
        {"au", {}},
        {"flac", {"--bits", "24"}},
        {"ogg", {}},
        {"opus", {}},
        {"mp3", {}},
    };
    auto renderAll = [&](const std::string& prefix) {
        std::vector<std::string> files;
        for (const auto& [extension, extra] : outputs) {
            files.push_back(dir.path(prefix + std::to_string(files.size()) + "." + extension));
            const test::CommandResult result =
                test::runTovrel(render(FAKE_STEREO, extra, in, files.back()));
            EXPECT_EQ(result.exitCode, 0) << files.back() << ": " << result.err;
        }
        return files;
    };
    const std::vector<std::string> first = renderAll("first");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a clock that ticks in seconds
    const std::vector<std::string> second = renderAll("second");
    for (std::size_t i = 0; i < first.size(); ++i) {
        const std::string bytes = test::readText(first[i]);
        EXPECT_GT(bytes.size(), 1000u) << first[i];
        EXPECT_TRUE(bytes == test::readText(second[i])) << first[i] << " differs between runs";
    }
}

TEST_F(CommandTest, RenderFeedsMonoToBothInputsClipsOversAndSummarises) {
    // Settings may come before the files, as each --set takes exactly one value. A gain of 8
    // drives 0.25 to 2.0, which 16-bit output clips to full scale instead of wrapping.
    test::writeAudio(dir.path("mono.wav"), {1, 44100, std::vector<double>(4410, 0.25)});
    const test::CommandResult result =
        test::runTovrel({"render", "--set", "0=4", "--allow-out-of-range", dir.path("mono.wav"),
                         out, "--plugin", FAKE_STEREO, "--bits", "16", "--tail", "0.05"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");  // no progress bar when stderr is not a terminal
    for (const char* text : {"output ch 2", "x realtime", "8820 samples clipped"}) {
        EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
    }
    const test::Audio audio = test::readAudio(out);
    ASSERT_EQ(audio.samples.size(), 2u * (4410 + 2205));
    EXPECT_GT(audio.samples[0], 0.99);
    EXPECT_EQ(audio.samples[0], audio.samples[1]);
    EXPECT_EQ(audio.samples.back(), 0.0);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"mono.wav", "out.wav", "stereo.wav"}));
}

TEST_F(CommandTest, PresetSavedThenLoadedGivesTheSameFileInAllFourForms) {
    for (const std::string plugin : {FAKE_CHUNKS, FAKE_STEREO}) {
        for (const std::string suffix : {".fxp", ".fxb"}) {
            const std::string first = dir.path("first" + suffix), second = dir.path("2" + suffix);
            const Args save = render(plugin, {"--set", "Pan Law=0.625", "--save-preset", first});
            ASSERT_EQ(test::runTovrel(save).exitCode, 0);
            const Args reload = render(plugin, {"--preset", first, "--save-preset", second});
            ASSERT_EQ(test::runTovrel(reload).exitCode, 0);
            EXPECT_EQ(test::readText(first), test::readText(second)) << plugin << suffix;
            EXPECT_EQ(test::readText(first)[23], 7);  // the plug-in's vendor version
        }
    }
}

TEST_F(CommandTest, RendersAndDescribesAThirdPartyDebianPluginThatExportsOnlyMain) {
    const std::string eq = "/usr/lib/vst/3BandEQ-vst.so";  // from dpf-plugins-vst
    if (!test::fs::exists(eq)) GTEST_SKIP() << "dpf-plugins-vst is not installed";
    const std::string mono = dir.path("mono.flac");
    test::writeAudio(mono, {1, 48000, std::vector<double>(4800, 0.25)},
                     SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    const test::CommandResult result =
        test::runTovrel({"render", mono, out, "--plugin", eq, "--set", "master=0.5"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const test::Audio audio = test::readAudio(out);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.sampleRate, 48000);
    EXPECT_EQ(audio.samples.size(), 9600u);
    const std::string info = test::runTovrel({"info", "--plugin", eq}).out;
    for (const char* text : {"3 Band EQ", "Unique ID   D3EQ", "HasEditor CanReplacing",
                             "2 in, 2 out", "Master", "offline                no"}) {
        EXPECT_NE(info.find(text), std::string::npos) << text << "\n" << info;
    }
}

}  // namespace tovrel
