// Audio files: format choice, clipping without wrap-around, and output that appears only
// when complete.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <functional>

#include "host/atomic_file.h"
#include "host/audio_reader.h"
#include "host/audio_writer.h"
#include "host/file_render.h"
#include "host/host_error.h"
#include "host/output_format.h"
#include "test_support.h"

namespace tovrel {
namespace {

constexpr int kWavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const HostError& error) {
        return error.what();
    }
    return "";
}

TEST(OutputFormatTest, ContainerFromExtensionSamplesFromInputOrBits) {
    const int pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    EXPECT_EQ(chooseOutputFormat("a.WAV", pcm16, SampleBits::FollowInput, 2, 44100), pcm16);
    EXPECT_EQ(chooseOutputFormat("a.flac", pcm16, SampleBits::Pcm24, 2, 44100),
              SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(chooseOutputFormat("a.aiff", pcm16, SampleBits::Float64, 2, 44100),
              SF_FORMAT_AIFF | SF_FORMAT_DOUBLE);
    // A float input cannot stay float in FLAC: the nearest integer format is taken.
    EXPECT_EQ(chooseOutputFormat("a.flac", kWavFloat, SampleBits::FollowInput, 2, 44100),
              SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(chooseOutputFormat("a.ogg", pcm16, SampleBits::FollowInput, 2, 44100),
              SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    EXPECT_NE(errorOf([] {
                  chooseOutputFormat("a.flac", 0, SampleBits::Float32, 2, 44100);
              }).find("cannot hold"),
              std::string::npos);
    EXPECT_NE(errorOf([] {
                  chooseOutputFormat("a.xyz", 0, SampleBits::Pcm16, 2, 44100);
              }).find("cannot tell the output format"),
              std::string::npos);
    EXPECT_THROW(parseSampleBits("12"), HostError);
}

TEST(AudioWriterTest, IntegerOutputClipsOversAndCountsThem) {
    test::TempDir dir;
    const std::string path = dir.path("clip.wav");
    AudioWriter writer(path, 1, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const float samples[] = {1.5f, -3.0f, 0.5f, 1.0f, -1.0f};
    writer.write(samples, 5);
    writer.commit();
    EXPECT_EQ(writer.clipped(), 2u);
    const test::Audio back = test::readAudio(path);
    EXPECT_GT(back.samples[0], 0.99f);  // clipped to full scale, not wrapped to negative
    EXPECT_EQ(back.samples[1], -1.0f);
}

TEST(AudioWriterTest, FloatOutputKeepsOvers) {
    test::TempDir dir;
    AudioWriter writer(dir.path("f.wav"), 1, 44100, kWavFloat);
    const double samples[] = {1.5};
    writer.write(samples, 1);
    writer.commit();
    EXPECT_EQ(writer.clipped(), 0u);
    EXPECT_EQ(test::readAudio(dir.path("f.wav")).samples[0], 1.5f);
}

TEST(AtomicFileTest, NothingAppearsWithoutCommitAndOldFilesSurvive) {
    test::TempDir dir;
    test::writeText(dir.path("keep.wav"), "old contents");
    {
        AtomicFile file(dir.path("keep.wav"));
        ASSERT_EQ(write(file.descriptor(), "new", 3), 3);
    }  // abandoned, as by a failed render
    EXPECT_EQ(test::readText(dir.path("keep.wav")), "old contents");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.wav"});
    {
        AtomicFile file(dir.path("keep.wav"));
        ASSERT_EQ(write(file.descriptor(), "new", 3), 3);
        file.commit();
    }
    EXPECT_EQ(test::readText(dir.path("keep.wav")), "new");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.wav"});
}

class FileRenderTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string input = dir.path("in.wav");

    void makeInput(int channels, int frames, float value) {
        test::writeAudio(input, {channels, 22050, std::vector<float>(channels * frames, value)});
    }
};

TEST_F(FileRenderTest, MonoFileFeedsBothInputsAndTailIsAppended) {
    makeInput(1, 1000, 0.25f);
    auto plugin = Plugin::open(FAKE_STEREO);
    AudioReader reader(input);
    FileRenderSettings settings;
    settings.output = dir.path("out.wav");
    settings.blockSize = 300;
    settings.tailSeconds = 0.01;  // 221 frames at 22050 Hz
    const RunReport report = renderFile(*plugin, reader, settings);
    const test::Audio out = test::readAudio(settings.output);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.sampleRate, 22050);
    ASSERT_EQ(out.samples.size(), 2u * 1221);
    EXPECT_EQ(out.samples[0], 0.25f);
    EXPECT_EQ(out.samples[1], 0.25f);
    EXPECT_EQ(out.samples.back(), 0.0f);
    EXPECT_EQ(report.output.frames(), 1221u);
    EXPECT_NEAR(report.input.peak(0), 0.25, 1e-9);
}

TEST_F(FileRenderTest, InterruptedRenderLeavesTheEarlierOutputAlone) {
    makeInput(2, 5000, 0.5f);
    test::writeText(dir.path("out.wav"), "a good earlier render");
    auto plugin = Plugin::open(FAKE_STEREO);
    AudioReader reader(input);
    FileRenderSettings settings;
    settings.output = dir.path("out.wav");
    settings.blockSize = 64;
    RenderHooks hooks;
    int blocks = 0;
    hooks.cancelled = [&blocks] { return ++blocks > 10; };
    EXPECT_THROW(renderFile(*plugin, reader, settings, hooks), HostError);
    EXPECT_EQ(test::readText(dir.path("out.wav")), "a good earlier render");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

}  // namespace
}  // namespace tovrel
