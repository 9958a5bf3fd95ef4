// The host's UI thread writes parameters and chunks while its audio thread processes and
// reads them; ThreadSanitizer must find no data race.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

TEST(TovrelThreads, ParameterWritesRaceFreeAgainstReadsAndProcessing) {
    auto effect = testing::makeTovrel();
    std::atomic<bool> done{false};
    std::thread writer([&] {
        unsigned char chunk[20] = {};
        for (int i = 0; i < 20000; ++i) {
            effect->setParameter(i % 5, static_cast<float>(i % 100) / 100.0f);
            if (i % 50 == 0) effect->setChunk(chunk, 20);
            if (i % 70 == 0) {  // the dither's seeds, handed to the audio thread
                std::uint32_t seeds[2] = {100000u + static_cast<std::uint32_t>(i), 200000u};
                effect->vendorSpecific(fourCharCode('t', 'v', 'S', 'd'), 0, seeds, 0.0f);
            }
        }
        done = true;
    });
    float left[64] = {}, right[64] = {};
    float* buffers[2] = {left, right};
    while (!done) {
        for (VstInt32 i = 0; i < 5; ++i) effect->getParameter(i);
        void* data = nullptr;
        effect->getChunk(&data);
        std::uint32_t seeds[2];
        effect->vendorSpecific(fourCharCode('t', 'v', 'S', 'g'), 0, seeds, 0.0f);
        effect->processReplacing(buffers, buffers, 64);
    }
    writer.join();
    // The last writes win, and the next save and block see all of them.
    const float last[5] = {0.95f, 0.96f, 0.97f, 0.98f, 0.99f};
    void* data = nullptr;
    ASSERT_EQ(effect->getChunk(&data), 20);
    for (VstInt32 i = 0; i < 5; ++i) {
        EXPECT_EQ(effect->getParameter(i), last[i]) << i;
        EXPECT_EQ(static_cast<const float*>(data)[i], last[i]) << i;
    }
    effect->processReplacing(buffers, buffers, 64);
    EXPECT_TRUE(std::isfinite(left[63]) && std::isfinite(right[63]));
}

}  // namespace
}  // namespace tovrel
