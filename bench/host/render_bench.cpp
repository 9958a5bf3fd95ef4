// The host's own work (reading, converting, writing) against the time spent inside the
// plug-in, on a 60-second stereo 32-bit float WAV at 44.1 kHz. Goal: host under 5% of plug-in.
// TOVREL_BENCH_PLUGIN in the environment picks another plug-in than the built Tovrel.so.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/audio_reader.h"
#include "host/demo_signal.h"
#include "host/file_render.h"

namespace tovrel {
namespace {

constexpr double kSeconds = 60.0;

std::string pluginPath() {
    const char* chosen = std::getenv("TOVREL_BENCH_PLUGIN");
    return chosen != nullptr ? chosen : TOVREL_PLUGIN;
}

// Writes the test file once per run: the demo material repeated to a minute.
const std::string& inputFile() {
    static const std::string path = [] {
        std::string name = "/tmp/tovrel-bench-" + std::to_string(getpid()) + ".wav";
        const std::vector<float> bar = makeDemoSignal(8.0);
        SF_INFO info{};
        info.channels = kDemoChannels;
        info.samplerate = kDemoSampleRate;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(name.c_str(), SFM_WRITE, &info);
        const auto frames = static_cast<sf_count_t>(kSeconds * kDemoSampleRate);
        const auto barFrames = static_cast<sf_count_t>(bar.size() / kDemoChannels);
        for (sf_count_t done = 0; done < frames; done += barFrames) {
            sf_writef_float(file, bar.data(), std::min(barFrames, frames - done));
        }
        sf_close(file);
        std::atexit([] { unlink(inputFile().c_str()); });
        return name;
    }();
    return path;
}

void renderMinute(benchmark::State& state, Precision precision) {
    const std::string output = inputFile() + ".out.wav";
    auto plugin = Plugin::open(pluginPath());
    double pluginSeconds = 0.0;
    double hostSeconds = 0.0;
    for (auto _ : state) {
        AudioReader reader(inputFile());
        FileRenderSettings settings;
        settings.output = output;
        settings.precision = precision;
        const RunReport report = renderFile(*plugin, reader, settings);
        pluginSeconds += report.pluginSeconds;
        hostSeconds += report.seconds - report.pluginSeconds;
    }
    unlink(output.c_str());
    const auto runs = static_cast<double>(state.iterations());
    state.counters["plugin_s"] = pluginSeconds / runs;
    state.counters["host_s"] = hostSeconds / runs;
    state.counters["host_share_pct"] = 100.0 * hostSeconds / pluginSeconds;
}

void BM_RenderMinuteFloat(benchmark::State& state) {
    renderMinute(state, Precision::Single);
}
void BM_RenderMinuteDouble(benchmark::State& state) {
    renderMinute(state, Precision::Double);
}

BENCHMARK(BM_RenderMinuteFloat)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_RenderMinuteDouble)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
}  // namespace tovrel

BENCHMARK_MAIN();
