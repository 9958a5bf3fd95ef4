// Batches: every output the same bytes as that file rendered alone, whatever the number of
// workers; a bad file reported and skipped; nothing written for a file not rendered whole.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "host/batch_progress.h"
#include "host/batch_render.h"
#include "host/host_error.h"
#include "test_support.h"

namespace tovrel {
namespace {

using Args = std::vector<std::string>;

class BatchTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::vector<std::string> inputs;

    void SetUp() override {
        // Different lengths, rates and channel counts, so no two workers finish together.
        const int lengths[] = {30000, 7000, 12345, 20000};
        for (int f = 0; f < 4; ++f) {
            const int channels = f == 2 ? 1 : 2;
            std::vector<double> samples(static_cast<std::size_t>(lengths[f]) * channels);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                samples[i] = 0.6 * std::sin(0.001 * (f + 1) * static_cast<double>(i * i % 100003));
            }
            inputs.push_back(dir.path("take" + std::to_string(f) + ".wav"));
            test::writeAudio(inputs.back(), {channels, f == 3 ? 48000 : 44100, samples});
        }
    }
};

TEST_F(BatchTest, EachOutputIsTheBytesOfThatFileRenderedAloneAndABadFileIsSkipped) {
    const std::string broken = dir.path("broken.wav");
    test::writeText(broken, "not audio");
    const Args settings = {"--plugin", TOVREL_PLUGIN, "--set", "Hi=0.8", "--tail", "0.1"};
    Args batch = {"render",   inputs[0],   inputs[1],       broken,     inputs[2],
                  inputs[3],  "--out-dir", dir.path("out"), "--suffix", "_t",
                  "--format", "flac",      "--jobs",        "2"};
    batch.insert(batch.end(), settings.begin(), settings.end());
    const test::CommandResult result = test::runTovrel(batch);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(broken + ": unsupported audio format"), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("Rendered 4 of 5 files with 2 jobs"), std::string::npos)
        << result.out;
    // A summary line per file, in the order given.
    std::size_t at = 0;
    for (const std::string& input : {inputs[0], inputs[1], broken, inputs[2], inputs[3]}) {
        const std::size_t line = result.out.find(input, at);
        ASSERT_NE(line, std::string::npos) << input << "\n" << result.out;
        at = line + 1;
    }
    EXPECT_EQ(test::fs::exists(dir.path("out/broken_t.flac")), false);

    for (std::size_t f = 0; f < inputs.size(); ++f) {
        const std::string alone = dir.path("alone" + std::to_string(f) + ".flac");
        Args single = {"render", inputs[f], alone};
        single.insert(single.end(), settings.begin(), settings.end());
        ASSERT_EQ(test::runTovrel(single).exitCode, 0);
        const std::string name = "out/take" + std::to_string(f) + "_t.flac";
        EXPECT_TRUE(test::readText(alone) == test::readText(dir.path(name))) << name;
    }
}

TEST_F(BatchTest, OneWorkerAndTwoWriteTheSameBytes) {
    for (const char* jobs : {"1", "2"}) {
        const test::CommandResult result =
            test::runTovrel({"render", inputs[0], inputs[1], inputs[2], "--out-dir",
                             dir.path(std::string("jobs") + jobs), "--jobs", jobs, "--plugin",
                             TOVREL_PLUGIN, "--set", "Lo=0.9"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }
    for (const char* name : {"take0.wav", "take1.wav", "take2.wav"}) {
        const std::string one = test::readText(dir.path(std::string("jobs1/") + name));
        EXPECT_GT(one.size(), 1000u);
        EXPECT_TRUE(one == test::readText(dir.path(std::string("jobs2/") + name))) << name;
    }
}

TEST_F(BatchTest, InputsThatWouldWriteOneOutputAreRefusedBeforeAnythingIsWritten) {
    test::fs::create_directory(dir.path("other"));
    test::fs::copy_file(inputs[0], dir.path("other/take0.wav"));
    const test::CommandResult result =
        test::runTovrel({"render", inputs[0], inputs[1], dir.path("other/take0.wav"), "--out-dir",
                         dir.path("out"), "--plugin", FAKE_STEREO});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("two inputs would both write"), std::string::npos) << result.err;
    EXPECT_TRUE(!test::fs::exists(dir.path("out")) || test::fs::is_empty(dir.path("out")));
    const test::CommandResult single =
        test::runTovrel({"render", inputs[0], "--plugin", FAKE_STEREO});
    EXPECT_NE(single.err.find("render takes IN OUT"), std::string::npos) << single.err;
}

TEST(BatchRenderTest, AnInterruptStopsEveryWorkerAndSkipsTheFilesNotBegun) {
    std::vector<BatchFile> files;
    for (int f = 0; f < 6; ++f) files.push_back({"in" + std::to_string(f), "out"});
    std::atomic<bool> stop{false};
    std::atomic<int> finished{0};
    std::vector<std::size_t> workersSeen;
    BatchHooks hooks;
    hooks.cancelled = [&] { return stop.load(); };
    hooks.progress = [&](const std::vector<WorkerStatus>& workers, int) {
        workersSeen.push_back(workers.size());
    };
    // in0 and in2 complete, in1 fails, in3 is interrupted once they are done; in4 and in5,
    // should a worker take them before the interrupt, wait for it.
    const RenderOne renderOne = [&](const BatchFile& file, const RenderHooks& fileHooks) {
        if (file.input == "in1") throw HostError("unreadable");
        if (file.input == "in3") {
            while (finished < 2) std::this_thread::yield();
            stop = true;
        }
        while ((file.input == "in4" || file.input == "in5") && !stop) std::this_thread::yield();
        fileHooks.progress(1, 2);
        if (fileHooks.cancelled()) throw HostError("interrupted");
        ++finished;
        return RunReport{};
    };
    const std::vector<BatchResult> results = renderBatch(files, 2, renderOne, hooks);
    ASSERT_EQ(results.size(), files.size());
    int done = 0, interrupted = 0;
    for (const BatchResult& result : results) {
        done += result.ok;
        interrupted += result.error == "interrupted";
    }
    EXPECT_EQ(results[1].error, "unreadable");
    EXPECT_EQ(done, 2);
    EXPECT_EQ(interrupted, 3);  // the one cut short and the two never begun
    for (std::size_t count : workersSeen) EXPECT_EQ(count, 2u);
    EXPECT_EQ(batchProgressText({{"a/long/path/very-long-name-indeed.wav", 1, 4}, {}}, 3, 8),
              "[1] very-long-nam... 25%  [2] idle  3/8 files");
}

}  // namespace
}  // namespace tovrel
