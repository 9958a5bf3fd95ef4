// The LV2 glue as hosts drive it: it sounds bit for bit as the VST 2 face does when both draw the
// same seeds from rand(), at every rate and block size, whatever order the ports are connected
// in, whether the controls are connected yet, and whatever buffers the audio shares.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "effect/tovrel.h"
#include "lv2/identity.h"
#include "lv2_instance.h"

namespace tovrel::lv2::test {
namespace {

constexpr std::size_t kFrames = 3000;
using Setting = std::array<float, kNumParameters>;
constexpr Setting kDefaults = {kParameterTable[0].defaultValue, kParameterTable[1].defaultValue,
                               kParameterTable[2].defaultValue, kParameterTable[3].defaultValue,
                               kParameterTable[4].defaultValue};
constexpr Setting kStrong = {0.3f, 0.8f, 0.3f, 0.8f, 0.6f};
constexpr Setting kOther = {0.2f, 0.8f, 0.9f, 0.7f, 1.0f};

// The settings a render goes through: each in force from its frame on.
struct Change {
    std::size_t at;
    Setting values;
};
using Schedule = std::vector<Change>;
const Schedule kTwoSettings = {{0, kStrong}, {1500, kOther}};

// Calls `process(at, count, setting)` over [0, frames) in blocks of `block`, cut where the
// setting changes.
template <typename Process>
void inBlocks(std::size_t frames, std::size_t block, const Schedule& schedule, Process process) {
    std::size_t next = 0;
    for (std::size_t at = 0; at < frames;) {
        while (next < schedule.size() && schedule[next].at <= at) ++next;
        const std::size_t end = next < schedule.size() ? schedule[next].at : frames;
        const std::size_t count = std::min(block, end - at);
        process(at, count, schedule[next - 1].values);
        at += count;
    }
}

// The VST 2 face's render, its instance seeded after srand(seed).
StereoAudio renderVst2(const StereoAudio& input, float rate, unsigned seed, std::size_t block,
                       const Schedule& schedule) {
    std::srand(seed);
    Tovrel effect(nullptr);
    effect.setSampleRate(rate);
    StereoAudio work = input, output(input.frames());
    inBlocks(input.frames(), block, schedule, [&](std::size_t at, std::size_t n, const Setting& s) {
        for (int i = 0; i < kNumParameters; ++i) effect.setParameter(i, s[i]);
        float* in[2] = {work.left.data() + at, work.right.data() + at};
        float* out[2] = {output.left.data() + at, output.right.data() + at};
        effect.processReplacing(in, out, static_cast<VstInt32>(n));
    });
    return output;
}

// The same through LV2, with an empty run before each block, which must change nothing.
StereoAudio renderLv2(const StereoAudio& input, double rate, unsigned seed, std::size_t block,
                      const Schedule& schedule) {
    std::srand(seed);
    Lv2Instance effect(rate);
    StereoAudio work = input, output(input.frames());
    effect.activate();
    inBlocks(input.frames(), block, schedule, [&](std::size_t at, std::size_t n, const Setting& s) {
        std::copy(s.begin(), s.end(), effect.controls);
        effect.connectAll(work.left.data() + at, work.right.data() + at, output.left.data() + at,
                          output.right.data() + at);
        effect.run(0);
        effect.run(static_cast<std::uint32_t>(n));
    });
    return output;
}

TEST(Lv2Glue, OnePluginUnderItsUri) {
    ASSERT_NE(lv2_descriptor(0), nullptr);
    EXPECT_STREQ(lv2_descriptor(0)->URI, kPluginUri);
    EXPECT_EQ(lv2_descriptor(1), nullptr);
}

TEST(Lv2Glue, SoundsAsTheVst2FaceAtEveryRateAndBlockSize) {
    const StereoAudio input(kFrames);
    for (float rate : {8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f, 384000.0f}) {
        const auto reference = renderVst2(input, rate, 7, 512, kTwoSettings);
        for (std::size_t block : {1u, 64u, 1000u, 4096u}) {
            EXPECT_TRUE(renderLv2(input, rate, 7, block, kTwoSettings) == reference)
                << rate << " Hz, blocks of " << block;
        }
        for (float sample : reference.left) ASSERT_TRUE(std::isfinite(sample)) << rate;
    }
}

// Controls not connected yet (or connected to nothing) run at their defaults; ports connected
// in any order, with port numbers beyond the last among them, make the same instance.
TEST(Lv2Glue, PortsInAnyOrderControlsUnconnectedAtFirst) {
    const StereoAudio input(kFrames);
    StereoAudio work = input, shuffled(kFrames);
    std::srand(3);
    Lv2Instance effect(48000.0);
    effect.connect(kOutputRight, shuffled.right.data());
    effect.connect(kDryWet, nullptr);
    effect.connect(kInputRight, work.right.data());
    effect.connect(kNumPorts, &effect.controls[0]);
    effect.connect(0xffffffffu, nullptr);
    effect.connect(kOutputLeft, shuffled.left.data());
    effect.connect(kInputLeft, work.left.data());
    effect.connect(kTrim, nullptr);
    effect.activate();
    effect.run(1000);
    // Then the strong setting, its controls connected last to first.
    std::copy(kStrong.begin(), kStrong.end(), effect.controls);
    for (int i = kNumParameters; i-- > 0;) effect.connect(i, &effect.controls[i]);
    effect.connect(kInputLeft, work.left.data() + 1000);
    effect.connect(kInputRight, work.right.data() + 1000);
    effect.connect(kOutputLeft, shuffled.left.data() + 1000);
    effect.connect(kOutputRight, shuffled.right.data() + 1000);
    effect.run(kFrames - 1000);
    EXPECT_TRUE(shuffled == renderVst2(input, 48000.0f, 3, 512, {{0, kDefaults}, {1000, kStrong}}));
}

// Outputs may share the inputs' buffers, even crossed over; a missing audio port means no
// processing, not a crash, and the run after it carries on as if it had not happened.
TEST(Lv2Glue, InPlaceCrossedAndMissingBuffers) {
    const StereoAudio input(kFrames);
    const auto separate = renderLv2(input, 44100.0, 5, kFrames, {{0, kStrong}});
    StereoAudio inPlace = input, crossed = input;
    StereoAudio untouched(kFrames);
    std::fill(untouched.left.begin(), untouched.left.end(), 7.0f);
    StereoAudio before = untouched;
    for (StereoAudio* buffers : {&inPlace, &crossed}) {
        std::srand(5);
        Lv2Instance effect(44100.0);
        std::copy(kStrong.begin(), kStrong.end(), effect.controls);
        effect.activate();
        // No right input yet: nothing is written.
        effect.connectAll(buffers->left.data(), nullptr, untouched.left.data(),
                          untouched.right.data());
        effect.run(kFrames);
        if (buffers == &inPlace) {
            effect.connectAll(inPlace.left.data(), inPlace.right.data(), inPlace.left.data(),
                              inPlace.right.data());
        } else {
            effect.connectAll(crossed.left.data(), crossed.right.data(), crossed.right.data(),
                              crossed.left.data());
        }
        effect.run(kFrames);
    }
    EXPECT_TRUE(untouched == before);
    EXPECT_TRUE(inPlace == separate);
    std::swap(crossed.left, crossed.right);
    EXPECT_TRUE(crossed == separate);
}

// Activation starts afresh: a second pass over the same audio sounds as the first did.
TEST(Lv2Glue, ActivationStartsAfresh) {
    const StereoAudio input(kFrames);
    StereoAudio work = input, first(kFrames), second(kFrames);
    std::srand(11);
    Lv2Instance effect(96000.0);
    std::copy(kStrong.begin(), kStrong.end(), effect.controls);
    effect.activate();
    effect.connectAll(work.left.data(), work.right.data(), first.left.data(), first.right.data());
    effect.run(kFrames);
    effect.activate();
    effect.connectAll(work.left.data(), work.right.data(), second.left.data(), second.right.data());
    effect.run(kFrames);
    EXPECT_TRUE(first == second);
    EXPECT_TRUE(first == renderVst2(input, 96000.0f, 11, kFrames, {{0, kStrong}}));
}

}  // namespace
}  // namespace tovrel::lv2::test
