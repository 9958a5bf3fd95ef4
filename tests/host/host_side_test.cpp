// What a plug-in sees of the host: the callback's answers, buffers shaped like its record,
// the processing requests in a DAW's order, and a file render stopped half way.
#include <gtest/gtest.h>

#include <map>

#include "frame/opcodes.h"
#include "host/buffer_render.h"
#include "host/file_render.h"
#include "host/host_callback.h"
#include "host/host_error.h"
#include "test_support.h"

namespace tovrel {

TEST(HostCallbackTest, AnswersAsAPlainOfflineHostAndZeroToEverythingElse) {
    HostState state{48000.0f, 64};
    AEffect record{};
    attachHostState(record, state);
    // clang-format off
    std::map<VstInt32, VstIntPtr> answers = {{audioMasterVersion, 2400},
        {audioMasterGetSampleRate, 48000}, {audioMasterGetBlockSize, 64},
        {audioMasterGetVendorVersion, 1000}, {audioMasterGetCurrentProcessLevel, 4}};
    // clang-format on
    // Null pointers too, as a careless plug-in might pass them.
    for (VstInt32 opcode = -3; opcode < 80; ++opcode) {
        EXPECT_EQ(hostCallback(&record, opcode, 0, 0, nullptr, 0.0f), answers[opcode]) << opcode;
    }
    char text[65], startStop[] = "startStopProcess", timeInfo[] = "sendVstTimeInfo";
    EXPECT_EQ(hostCallback(&record, audioMasterCanDo, 0, 0, startStop, 0.0f), 1);
    EXPECT_EQ(hostCallback(&record, audioMasterCanDo, 0, 0, timeInfo, 0.0f), 0);
    EXPECT_EQ(hostCallback(&record, audioMasterGetVendorString, 0, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, "fellmarrow");
    HostState loading{44100.0f, 128};
    const LoadingScope scope(loading);  // a plug-in asking from inside its constructor
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 128);
}

TEST(BufferRenderTest, BuffersFollowThePluginsShape) {
    // The fakes copy input (o modulo their inputs) to output o at unity gain.
    const std::tuple<const char*, int, std::vector<float>, std::vector<float>> cases[] = {
        {FAKE_STEREO, 2, {0.25f, -0.5f, 0.75f, 1}, {0.25f, -0.5f, 0.75f, 1}},
        {FAKE_STEREO, 1, {0.25f, -0.5f}, {0.25f, 0.25f, -0.5f, -0.5f}},
        {FAKE_MONO_IN, 1, {0.25f, -0.5f}, {0.25f, 0.25f, -0.5f, -0.5f}},
        {FAKE_ONE_OUT, 2, {0.25f, -0.5f, 0.75f, 1}, {0.25f, 0.75f}}};
    for (const auto& [path, channels, input, expected] : cases) {
        auto plugin = Plugin::open(path);
        EXPECT_EQ(renderBuffer(*plugin, input, channels, 44100.0, 1).audio, expected) << path;
    }
    EXPECT_NE(ChannelBuffers<double>(0, 2, 1).inputs(), nullptr);  // a generator gets an array too
}

TEST(BufferRenderTest, BracketsProcessingAsADawDoesInBothPrecisions) {
    const test::Journal journal = test::fakeJournal(FAKE_CHUNKS);
    {
        auto plugin = Plugin::open(FAKE_CHUNKS);
        renderBuffer(*plugin, std::vector<float>(200), 2, 48000.0, 64);
        renderBuffer(*plugin, std::vector<double>(4), 2, 44100.0, 8);
    }
    EXPECT_EQ(std::string(journal()),
              "open 0;rate 48000;block 64;precision 0;mains 1;start 0;process 64;process 36;"
              "stop 0;mains 0;rate 44100;block 8;precision 1;mains 1;start 0;process 2;stop 0;"
              "mains 0;close 0;");
}

TEST(FileRenderTest, InterruptedRenderLeavesTheEarlierOutputAlone) {
    test::TempDir dir;
    test::writeAudio(dir.path("in.wav"), {2, 22050, std::vector<double>(2 * 5000, 0.5)});
    test::writeText(dir.path("out.wav"), "a good earlier render");
    auto plugin = Plugin::open(FAKE_STEREO);
    AudioReader reader(dir.path("in.wav"));
    int blocks = 0;
    const RenderHooks hooks{nullptr, [&blocks] { return ++blocks > 10; }};
    EXPECT_THROW(renderFile(*plugin, reader, {dir.path("out.wav"), 64}, hooks), HostError);
    EXPECT_EQ(test::readText(dir.path("out.wav")), "a good earlier render");
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.wav", "out.wav"}));
}

}  // namespace tovrel
