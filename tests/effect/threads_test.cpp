// The host's UI thread writes parameters and chunks while its audio thread processes and
// reads them; ThreadSanitizer must find no data race.
#include <gtest/gtest.h>

#include <atomic>
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
        }
        done = true;
    });
    float left[64] = {}, right[64] = {};
    float* buffers[2] = {left, right};
    float sum = 0.0f;
    while (!done) {
        for (VstInt32 i = 0; i < 5; ++i) sum += effect->getParameter(i);
        void* data = nullptr;
        effect->getChunk(&data);
        effect->processReplacing(buffers, buffers, 64);
    }
    writer.join();
    EXPECT_GE(sum, 0.0f);
}

}  // namespace
}  // namespace tovrel
