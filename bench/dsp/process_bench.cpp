// Nanoseconds per stereo frame and the realtime factor at 44.1 kHz in 512-frame blocks: the
// double-double product in both precisions, and the same chain in plain double as a yardstick.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "effect/dsp/precision.h"
#include "effect/dsp/process.h"
#include "effect/dsp/process_block.h"

namespace {

using tovrel::dsp::ParameterSnapshot;

constexpr int kBlock = 512;
constexpr float kRate = 44100.0f;
constexpr ParameterSnapshot kDefaults{0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
constexpr ParameterSnapshot kNothingSkipped{0.3f, 0.7f, 0.3f, 0.8f, 0.6f};

template <typename Sample>
struct Buffers {
    std::vector<Sample> data[4];
    Sample* in[2];
    Sample* out[2];
    Buffers() {
        std::uint32_t x = 12345;
        for (auto& channel : data) {
            channel.resize(kBlock);
            for (Sample& s : channel) {
                x = x * 1664525u + 1013904223u;
                s = static_cast<Sample>(static_cast<double>(x) * 0x1p-32 - 0.5);
            }
        }
        in[0] = data[0].data(), in[1] = data[1].data();
        out[0] = data[2].data(), out[1] = data[3].data();
    }
};

template <typename State>
State seeded() {
    State state{};
    state.fpdL = 2654435769u;
    state.fpdR = 3141592653u;
    return state;
}

void report(benchmark::State& run) {
    const double frames = static_cast<double>(run.iterations()) * kBlock;
    // Seconds per stereo frame, shown with an SI prefix (1.4u: 1.4 microseconds).
    run.counters["frame_time"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Seconds of audio per second of processing.
    run.counters["realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

ParameterSnapshot settingOf(const benchmark::State& run) {
    return run.range(0) == 0 ? kDefaults : kNothingSkipped;
}

void ProductFloat(benchmark::State& run) {
    Buffers<float> b;
    tovrel::dsp::SignalState state = seeded<tovrel::dsp::SignalState>();
    const ParameterSnapshot p = settingOf(run);
    for (auto _ : run) {
        tovrel::dsp::processFloat(state, kRate, p, b.in, b.out, kBlock);
        benchmark::DoNotOptimize(b.data[2].data());
    }
    report(run);
}

void ProductDouble(benchmark::State& run) {
    Buffers<double> b;
    tovrel::dsp::SignalState state = seeded<tovrel::dsp::SignalState>();
    const ParameterSnapshot p = settingOf(run);
    for (auto _ : run) {
        tovrel::dsp::processDouble(state, kRate, p, b.in, b.out, kBlock);
        benchmark::DoNotOptimize(b.data[2].data());
    }
    report(run);
}

// The yardstick: the same chain in plain double, float in and out. Benchmark-only.
void PlainDoubleYardstick(benchmark::State& run) {
    using tovrel::dsp::BasicSignalState;
    Buffers<float> b;
    auto state = seeded<BasicSignalState<double>>();
    const ParameterSnapshot p = settingOf(run);
    for (auto _ : run) {
        tovrel::dsp::processBlock<tovrel::dsp::SinglePath>(state, kRate, p, b.in, b.out, kBlock);
        benchmark::DoNotOptimize(b.data[2].data());
    }
    report(run);
}

// Argument 0: default parameters (trim only; drives, gain and mix skipped); 1: nothing skipped.
BENCHMARK(ProductFloat)->ArgName("nothing_skipped")->Arg(0)->Arg(1);
BENCHMARK(ProductDouble)->ArgName("nothing_skipped")->Arg(0)->Arg(1);
BENCHMARK(PlainDoubleYardstick)->ArgName("nothing_skipped")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
