// Whole processing calls: block boundaries, in-place buffers, both precisions sharing one state.
#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::freshState;
using test::kEverythingOn;
using test::sameBits;
using test::Stereo;

template <typename Sample>
void expectBlockSizeMakesNoDifference() {
    for (const ParameterSnapshot& p : {test::kDefaults, kEverythingOn}) {
        Stereo<Sample> whole(20000), pieces(20000);
        SignalState a = freshState(), b = freshState();
        whole.processAll(a, 44100.0f, p, 20000);  // far more than any announced block size
        pieces.process(b, 44100.0f, p, 0, 64);
        pieces.process(b, 44100.0f, p, 64, 64);
        pieces.process(b, 44100.0f, p, 128, 1);
        pieces.process(b, 44100.0f, p, 129, 371);
        for (std::size_t at = 500; at < 20000; at += 500) pieces.process(b, 44100.0f, p, at, 500);
        EXPECT_TRUE(sameBits(whole.outLeft, pieces.outLeft));
        EXPECT_TRUE(sameBits(whole.outRight, pieces.outRight));
        EXPECT_TRUE(sameBits(a, b));
    }
}

TEST(Processing, BlockSizeMakesNoDifference) {
    expectBlockSizeMakesNoDifference<float>();
    expectBlockSizeMakesNoDifference<double>();
}

template <typename Sample>
void expectInPlaceLikeSeparateBuffers() {
    Stereo<Sample> separate(4096), inPlace(4096);
    SignalState a = freshState(), b = freshState();
    separate.processAll(a, 48000.0f, kEverythingOn, 4096);
    inPlace.out[0] = inPlace.in[0];
    inPlace.out[1] = inPlace.in[1];
    inPlace.processAll(b, 48000.0f, kEverythingOn, 4096);
    EXPECT_TRUE(sameBits(separate.outLeft, inPlace.left));
    EXPECT_TRUE(sameBits(separate.outRight, inPlace.right));
    EXPECT_TRUE(sameBits(a, b));
}

TEST(Processing, InPlaceLikeSeparateBuffers) {
    expectInPlaceLikeSeparateBuffers<float>();
    expectInPlaceLikeSeparateBuffers<double>();
}

std::uint32_t xorshift(std::uint32_t x, int steps) {
    for (int i = 0; i < steps; ++i) x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    return x;
}

TEST(Processing, BothPrecisionsContinueOneNoiseSequence) {
    Stereo<float> single(128);
    Stereo<double> twice(64);
    SignalState mixed = freshState(), plain = freshState();
    single.process(mixed, 44100.0f, kEverythingOn, 0, 64);
    twice.process(mixed, 44100.0f, kEverythingOn, 0, 64);
    EXPECT_EQ(mixed.fpdL, xorshift(plain.fpdL, 128));
    EXPECT_EQ(mixed.fpdR, xorshift(plain.fpdR, 128));
    single.process(plain, 44100.0f, kEverythingOn, 0, 128);
    EXPECT_EQ(mixed.fpdL, plain.fpdL);
    EXPECT_EQ(mixed.fpdR, plain.fpdR);
}

// Above the tiny thresholds the precisions differ only in their dither and written word.
TEST(Processing, BothPrecisionsLeaveTheSameFilterState) {
    for (float rate : {44100.0f, 96000.0f}) {
        Stereo<float> single(8192);
        Stereo<double> twice(8192);
        for (std::size_t i = 0; i < 8192; ++i) {
            for (float* x : {&single.left[i], &single.right[i]}) {
                if (std::fabs(*x) < 1e-30f) *x = 1e-30f;
            }
            twice.left[i] = single.left[i], twice.right[i] = single.right[i];
        }
        SignalState a = freshState(), b = freshState();
        single.processAll(a, rate, kEverythingOn, 512);
        twice.processAll(b, rate, kEverythingOn, 512);
        EXPECT_TRUE(sameBits(a, b)) << rate;
        for (std::size_t i = 0; i < 8192; ++i) {
            ASSERT_NEAR(single.outLeft[i], twice.outLeft[i], 1e-6) << i;
        }
    }
}

// With Dry/Wet 0 the output is the dry sample plus a dither of about its last place.
TEST(Processing, TinyInputsBecomeScaledNoiseState) {
    const ParameterSnapshot dryOnly{0.1f, 0.5f, 0.5f, 1.0f, 0.0f};
    Stereo<double> twice(3);
    twice.left = {0.0, 1.18e-43, 1e-40};
    Stereo<float> single(3);
    single.left = {0.0f, 1.17e-37f, 1e-30f};
    SignalState a = freshState(), b = freshState();
    twice.process(a, 44100.0f, dryOnly, 0, 3);
    single.process(b, 44100.0f, dryOnly, 0, 3);
    const double substitute = static_cast<double>(freshState().fpdL) * 1.18e-43;
    EXPECT_NEAR(twice.outLeft[0], substitute, substitute * 0x1p-51);
    EXPECT_NEAR(twice.outLeft[1], 1.18e-43, 1.18e-43 * 0x1p-51);
    EXPECT_NEAR(twice.outLeft[2], 1e-40, 1e-40 * 0x1p-51);
    const double fpd1 = xorshift(freshState().fpdL, 1);  // after the first frame's dither
    EXPECT_NEAR(single.outLeft[1], fpd1 * 1.18e-37, fpd1 * 1.18e-37 * 0x1p-22);
    EXPECT_NEAR(single.outLeft[2], 1e-30f, 1e-30 * 0x1p-22);
}

}  // namespace
}  // namespace tovrel::dsp
