// Latency and tails against a fake that delays everything by 100 frames (30 for the other
// shape) and reports it only once resumed: compensated, the output is the input exactly.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {
namespace {

using Args = std::vector<std::string>;
constexpr int kFrames = 3000;

class LatencyTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string in = dir.path("in.wav"), out = dir.path("out.wav");
    std::vector<double> ramp = std::vector<double>(2 * kFrames);

    void SetUp() override {
        for (std::size_t i = 0; i < ramp.size(); ++i) {
            ramp[i] = static_cast<double>(i % 2 == 0 ? i : -static_cast<double>(i)) / 8192.0;
        }
        test::writeAudio(in, {2, 44100, ramp});
    }

    nlohmann::json render(Args extra) {
        Args args = {"render", in, out, "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const test::CommandResult result = test::runTovrel(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out)["summary"];
    }
};

TEST_F(LatencyTest, CompensationLinesTheOutputUpWithTheInputAndLosesNothing) {
    // Blocks shorter than the latency, so the frames dropped span several blocks.
    const nlohmann::json one = render({"--plugin", FAKE_LATENCY, "--block", "64"});
    EXPECT_EQ(one["latencyFrames"], 100);
    EXPECT_EQ(one["latencyCompensated"], true);
    EXPECT_TRUE(test::sameBits(test::readAudio(out).samples, ramp));
    const nlohmann::json two = render({"--plugin", FAKE_LATENCY, "--plugin", FAKE_LATENCY});
    EXPECT_EQ(two["latencyFrames"], 200);
    EXPECT_TRUE(test::sameBits(test::readAudio(out).samples, ramp));
}

TEST_F(LatencyTest, WithoutCompensationTheOutputComesLateByTheLatency) {
    const nlohmann::json summary = render({"--plugin", FAKE_LATENCY, "--no-compensate-latency"});
    EXPECT_EQ(summary["latencyCompensated"], false);
    const test::Audio audio = test::readAudio(out);
    ASSERT_EQ(audio.samples.size(), ramp.size());
    for (int frame : {0, 99, 100, 1234, kFrames - 1}) {
        const double expected = frame < 100 ? 0.0 : ramp[2 * (frame - 100) + 1];
        EXPECT_EQ(audio.samples[2 * frame + 1], expected) << frame;
    }
}

TEST_F(LatencyTest, AutoTailTakesThePluginsSizeElseRendersUntilSilent) {
    const nlohmann::json reported = render({"--plugin", FAKE_LATENCY_TAIL, "--tail", "auto"});
    EXPECT_EQ(reported["tailFrom"], "plugin");
    EXPECT_EQ(reported["tailFrames"], 500);
    test::Audio audio = test::readAudio(out);
    ASSERT_EQ(audio.samples.size(), ramp.size() + 2 * 500);
    EXPECT_TRUE(test::sameBits({audio.samples.begin(), audio.samples.begin() + 2 * kFrames}, ramp));

    // The fake reports no tail: its last 100 frames still sound, then 100 ms of silence ends it.
    const nlohmann::json detected =
        render({"--plugin", FAKE_LATENCY, "--tail", "auto", "--block", "256"});
    EXPECT_EQ(detected["tailFrom"], "detected");
    const int tail = detected["tailFrames"];
    EXPECT_GE(tail, 100 + 4410);
    EXPECT_LT(tail, 100 + 4410 + 256);
    audio = test::readAudio(out);
    EXPECT_EQ(audio.samples.size(), ramp.size() + 2u * static_cast<unsigned>(tail));
    EXPECT_EQ(audio.samples[2 * (kFrames - 1) + 1], ramp.back());
}

}  // namespace
}  // namespace tovrel
