// A batch of 8 files of 30 s each, rendered with 1 and with 2 workers, each file through its
// own Tovrel instance as `tovrel render --out-dir` does. On 2 free cores the second should take
// near half the time of the first. TOVREL_BENCH_PLUGIN in the environment picks another plug-in.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/audio_reader.h"
#include "host/batch_render.h"
#include "host/demo_signal.h"
#include "host/noise_seeds.h"

namespace tovrel {
namespace {

constexpr int kFiles = 8;
constexpr double kSeconds = 30.0;

std::string pluginPath() {
    const char* chosen = std::getenv("TOVREL_BENCH_PLUGIN");
    return chosen != nullptr ? chosen : TOVREL_PLUGIN;
}

// The demo material, 30 s of it in each of 8 files, written once per run.
const std::vector<BatchFile>& batch() {
    static const std::vector<BatchFile> files = [] {
        const std::string folder = "/tmp/tovrel-batch-bench-" + std::to_string(getpid());
        mkdir(folder.c_str(), 0700);
        const std::vector<float> audio = makeDemoSignal(kSeconds);
        std::vector<BatchFile> list;
        for (int f = 0; f < kFiles; ++f) {
            const std::string name = folder + "/take" + std::to_string(f);
            SF_INFO info{};
            info.channels = kDemoChannels;
            info.samplerate = kDemoSampleRate;
            info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
            SNDFILE* file = sf_open((name + ".wav").c_str(), SFM_WRITE, &info);
            sf_writef_float(file, audio.data(),
                            static_cast<sf_count_t>(audio.size() / kDemoChannels));
            sf_close(file);
            list.push_back({name + ".wav", name + ".out.wav"});
        }
        std::atexit([] {
            for (const BatchFile& file : batch()) {
                unlink(file.input.c_str());
                unlink(file.output.c_str());
            }
            rmdir(batch().front().input.substr(0, batch().front().input.rfind('/')).c_str());
        });
        return list;
    }();
    return files;
}

void BM_Batch(benchmark::State& state) {
    const RenderOne renderOne = [](const BatchFile& file, const RenderHooks& hooks) {
        AudioReader reader(file.input);
        auto plugin = Plugin::open(pluginPath());
        setNoiseSeeds(*plugin, kDefaultNoiseSeeds);
        FileRenderSettings settings;
        settings.output = file.output;
        return renderFile(*plugin, reader, settings, hooks);
    };
    for (auto _ : state) {
        for (const BatchResult& result :
             renderBatch(batch(), static_cast<int>(state.range(0)), renderOne)) {
            if (!result.ok) state.SkipWithError(result.error.c_str());
        }
    }
    state.counters["audio_s"] = kFiles * kSeconds;
}

BENCHMARK(BM_Batch)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace tovrel

BENCHMARK_MAIN();
