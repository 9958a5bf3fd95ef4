// Buffers shaped like the plug-in, the order of the processing requests, and in-memory renders.
#include <gtest/gtest.h>

#include "host/buffer_render.h"
#include "host/channel_buffers.h"
#include "host/host_error.h"
#include "test_support.h"

namespace tovrel {
namespace {

TEST(ChannelBuffersTest, MonoFeedsEveryInputAndMissingChannelsAreSilent) {
    ChannelBuffers<float> buffers(3, 2, 4);
    const float mono[] = {1, 2, 3, 4};
    buffers.scatter(mono, 1, 4);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(buffers.inputs()[c][3], 4.0f) << "input " << c;

    const float stereo[] = {1, -1, 2, -2};
    buffers.scatter(stereo, 2, 2);
    EXPECT_EQ(buffers.inputs()[0][1], 2.0f);
    EXPECT_EQ(buffers.inputs()[1][1], -2.0f);
    EXPECT_EQ(buffers.inputs()[2][1], 0.0f);

    buffers.scatter(nullptr, 2, 4);
    EXPECT_EQ(buffers.inputs()[0][0], 0.0f);
}

TEST(ChannelBuffersTest, GathersOutputsInterleaved) {
    ChannelBuffers<double> buffers(0, 2, 3);
    ASSERT_NE(buffers.inputs(), nullptr);  // a generator still gets a pointer array
    for (int i = 0; i < 3; ++i) {
        buffers.outputs()[0][i] = i;
        buffers.outputs()[1][i] = 10 + i;
    }
    double out[6];
    buffers.gather(out, 3);
    EXPECT_EQ(std::vector<double>(out, out + 6), (std::vector<double>{0, 10, 1, 11, 2, 12}));
}

TEST(BufferRenderTest, BracketsProcessingAsADawDoes) {
    test::FakeJournal journal(FAKE_STEREO);
    auto plugin = Plugin::open(FAKE_STEREO);
    const std::vector<float> input(2 * 100, 0.5f);
    const BufferRender<float> out = renderBuffer(*plugin, input, 2, 48000.0, 64);
    EXPECT_EQ(journal.text(),
              "open;rate 48000;block 64;precision 0;mains 1;start;process 64;process 36;stop;"
              "mains 0;");
    ASSERT_EQ(out.audio.size(), input.size());
    EXPECT_EQ(out.audio.front(), 0.5f);  // the fake's default gain is unity
}

TEST(BufferRenderTest, MonoSourceFeedsAOneInputPluginWithTwoOutputs) {
    auto plugin = Plugin::open(FAKE_MONO_IN);
    const std::vector<float> input = {0.25f, -0.5f, 0.75f};
    const BufferRender<float> out = renderBuffer(*plugin, input, 1, 44100.0, 512);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.audio, (std::vector<float>{0.25f, 0.25f, -0.5f, -0.5f, 0.75f, 0.75f}));
}

TEST(BufferRenderTest, OneOutputPluginWritesOneChannel) {
    auto plugin = Plugin::open(FAKE_ONE_OUT);
    const BufferRender<float> out =
        renderBuffer(*plugin, std::vector<float>(20, 0.1f), 2, 44100.0, 8);
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.audio.size(), 10u);
}

TEST(BufferRenderTest, DoublePrecisionUsesTheDoubleEntryOrIsRefused) {
    test::FakeJournal journal(FAKE_CHUNKS);
    auto chunky = Plugin::open(FAKE_CHUNKS);
    const BufferRender<double> out =
        renderBuffer(*chunky, std::vector<double>(4, 0.3), 2, 44100.0, 8);
    EXPECT_EQ(out.audio[0], 0.3);
    EXPECT_NE(journal.text().find("precision 1"), std::string::npos);

    auto plain = Plugin::open(FAKE_STEREO);
    EXPECT_THROW(renderBuffer(*plain, std::vector<double>(4, 0.3), 2, 44100.0, 8), HostError);
}

TEST(BufferRenderTest, RefusesMoreChannelsThanInputs) {
    auto plugin = Plugin::open(FAKE_MONO_IN);
    EXPECT_THROW(renderBuffer(*plugin, std::vector<float>(4, 0.0f), 2, 44100.0, 8), HostError);
}

}  // namespace
}  // namespace tovrel
