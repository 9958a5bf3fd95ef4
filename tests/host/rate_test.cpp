// --rate: the plug-ins run at another rate, the audio converted there and back.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {
namespace {

TEST(RateTest, AudioGoesThereAndBackInLineAndTheSummarySaysSo) {
    test::TempDir dir;
    const std::string in = dir.path("in.wav"), out = dir.path("out.wav");
    constexpr int kFrames = 8820;
    std::vector<double> sine(2 * kFrames);
    for (std::size_t i = 0; i < sine.size(); ++i) {
        sine[i] = 0.5 * std::sin(2 * M_PI * 1000.0 * static_cast<double>(i / 2) / 44100.0);
    }
    test::writeAudio(in, {2, 44100, sine});
    // 100 frames of latency at 88.2 kHz are 50 at the file's rate; compensated, the sine lines
    // up with the input again (a shift of even one frame would leave an error near 0.07).
    const test::CommandResult result =
        test::runTovrel({"render", in, out, "--plugin", FAKE_LATENCY, "--rate", "88200", "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto summary = nlohmann::json::parse(result.out)["summary"];
    EXPECT_EQ(summary["processingRate"], 88200.0);
    EXPECT_EQ(summary["latencyFrames"], 100);
    const test::Audio audio = test::readAudio(out);
    EXPECT_EQ(audio.sampleRate, 44100);
    ASSERT_EQ(audio.samples.size(), sine.size());
    double worst = 0.0;
    for (std::size_t i = 2 * 500; i < sine.size() - 2 * 500; ++i) {
        worst = std::max(worst, std::fabs(audio.samples[i] - sine[i]));
    }
    EXPECT_LT(worst, 1e-3);

    const test::CommandResult text =
        test::runTovrel({"render", in, out, "--plugin", FAKE_STEREO, "--rate", "96000"});
    EXPECT_NE(text.out.find("processed at 96000 Hz: converted there and back with libsamplerate"),
              std::string::npos)
        << text.out;
}

}  // namespace
}  // namespace tovrel
