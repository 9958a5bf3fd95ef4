// The whole plug-in through its record, as a host drives it: nanoseconds per stereo frame and the
// realtime factor at 44.1 kHz for block sizes from 1 to 4096 frames, so that the per-block setup
// shows at tiny blocks; and a project of many instances in one process, so that what they hold
// in the caches shows. TOVREL_BENCH_PLUGIN in the environment picks another plug-in file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "frame/opcodes.h"
#include "host/plugin.h"

namespace tovrel {
namespace {

constexpr float kRate = 44100.0f;
constexpr int kNoiseFrames = 4096;  // one window of input, walked through block by block
constexpr float kNothingSkipped[] = {0.3f, 0.7f, 0.3f, 0.8f, 0.6f};
constexpr VstIntPtr kPrecision32 = 0;
constexpr VstIntPtr kPrecision64 = 1;

std::string pluginPath() {
    const char* chosen = std::getenv("TOVREL_BENCH_PLUGIN");
    return chosen != nullptr ? chosen : TOVREL_PLUGIN;
}

// Repeatable noise in [-0.5, 0.5) for both inputs; outputs as long.
template <typename Sample>
struct Buffers {
    std::vector<Sample> input[2];
    std::vector<Sample> output[2];
    explicit Buffers(int frames = kNoiseFrames, std::uint32_t x = 12345) {
        for (auto& channel : input) {
            channel.resize(static_cast<std::size_t>(frames));
            for (Sample& s : channel) {
                x = x * 1664525u + 1013904223u;
                s = static_cast<Sample>(static_cast<double>(x) * 0x1p-32 - 0.5);
            }
        }
        for (auto& channel : output) channel.resize(static_cast<std::size_t>(frames));
    }
};

std::unique_ptr<Plugin> startedPlugin(int block, bool nothingSkipped, VstIntPtr precision) {
    auto plugin = Plugin::open(pluginPath());
    plugin->hostState().sampleRate = kRate;
    plugin->hostState().blockSize = block;
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    plugin->dispatch(effSetBlockSize, 0, block);
    plugin->dispatch(effSetProcessPrecision, 0, precision);
    if (nothingSkipped) {
        for (int i = 0; i < 5; ++i) plugin->setParameter(i, kNothingSkipped[i]);
    }
    plugin->dispatch(effMainsChanged, 0, 1);  // resume
    plugin->dispatch(effStartProcess);
    return plugin;
}

void process(AEffect& e, float** in, float** out, int frames) {
    e.processReplacing(&e, in, out, frames);
}
void process(AEffect& e, double** in, double** out, int frames) {
    e.processDoubleReplacing(&e, in, out, frames);
}

// Arguments: block size, then 0 for default parameters or 1 for a setting where no gain, mix
// or drive is skipped.
template <typename Sample>
void PluginRun(benchmark::State& run) {
    const int block = static_cast<int>(run.range(0));
    const VstIntPtr precision = sizeof(Sample) == 8 ? kPrecision64 : kPrecision32;
    std::unique_ptr<Plugin> plugin;
    try {
        plugin = startedPlugin(block, run.range(1) != 0, precision);
    } catch (const std::exception& error) {
        run.SkipWithError(error.what());
        return;
    }
    Buffers<Sample> b;
    Sample* in[2];
    Sample* out[2] = {b.output[0].data(), b.output[1].data()};
    int offset = 0;
    for (auto _ : run) {
        in[0] = b.input[0].data() + offset;
        in[1] = b.input[1].data() + offset;
        process(plugin->record(), in, out, block);
        benchmark::DoNotOptimize(out[0]);
        benchmark::ClobberMemory();
        offset = (offset + block) % kNoiseFrames;
    }
    plugin->dispatch(effStopProcess);
    plugin->dispatch(effMainsChanged, 0, 0);

    const double frames = static_cast<double>(run.iterations()) * block;
    // Seconds per stereo frame, shown with an SI prefix (1.4u: 1.4 microseconds).
    run.counters["frame_time"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Seconds of audio per second of processing.
    run.counters["realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

void PluginFloat(benchmark::State& run) {
    PluginRun<float>(run);
}
void PluginDouble(benchmark::State& run) {
    PluginRun<double>(run);
}

// A project: `instances` plug-ins in one process, each with its own 256-frame buffers, processed
// one after another as a host's audio thread does, every parameter engaged. The time per frame
// per instance, against one instance alone, shows what the instances' state, buffers and shared
// tables cost in the caches.
void ProjectFloat(benchmark::State& run) {
    constexpr int kBlock = 256;
    const int instances = static_cast<int>(run.range(0));
    std::vector<std::unique_ptr<Plugin>> plugins;
    std::vector<Buffers<float>> buffers;
    try {
        for (int k = 0; k < instances; ++k) {
            plugins.push_back(startedPlugin(kBlock, true, kPrecision32));
            buffers.emplace_back(kBlock, 12345u + static_cast<std::uint32_t>(k));
        }
    } catch (const std::exception& error) {
        run.SkipWithError(error.what());
        return;
    }
    for (auto _ : run) {
        for (int k = 0; k < instances; ++k) {
            Buffers<float>& b = buffers[static_cast<std::size_t>(k)];
            float* in[2] = {b.input[0].data(), b.input[1].data()};
            float* out[2] = {b.output[0].data(), b.output[1].data()};
            process(plugins[static_cast<std::size_t>(k)]->record(), in, out, kBlock);
            benchmark::DoNotOptimize(out[0]);
        }
        benchmark::ClobberMemory();
    }
    const double frames = static_cast<double>(run.iterations()) * kBlock * instances;
    run.counters["frame_time_per_instance"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void blockSizesAndSettings(benchmark::internal::Benchmark* b) {
    b->ArgNames({"block", "nothing_skipped"})->ArgsProduct({{1, 16, 64, 512, 4096}, {0, 1}});
}

BENCHMARK(PluginFloat)->Apply(blockSizesAndSettings);
BENCHMARK(PluginDouble)->Apply(blockSizesAndSettings);
BENCHMARK(ProjectFloat)->ArgName("instances")->Arg(1)->Arg(16);

}  // namespace
}  // namespace tovrel

BENCHMARK_MAIN();
