// Nanoseconds per stereo frame and the realtime factor at 44.1 kHz in 512-frame blocks: the
// double-double product in both precisions, and the same chain in plain double as a yardstick.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "effect/dsp/blocks/precision.h"
#include "effect/dsp/process.h"
#include "fixed_chain.h"

namespace {

using tovrel::dsp::ParameterSnapshot;

constexpr int kBlock = 512;  // the largest block timed; 64 shows the per-block setup's share
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

constexpr std::uint32_t kSeedL = 2654435769u;
constexpr std::uint32_t kSeedR = 3141592653u;

template <typename State>
State seeded() {
    State state{};
    state.fpdL = kSeedL;
    state.fpdR = kSeedR;
    return state;
}

void report(benchmark::State& run) {
    const double frames = static_cast<double>(run.iterations()) * static_cast<double>(run.range(1));
    // Seconds per stereo frame, shown with an SI prefix (1.4u: 1.4 microseconds).
    run.counters["frame_time"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Seconds of audio per second of processing.
    run.counters["realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

ParameterSnapshot settingOf(const benchmark::State& run) {
    return run.range(0) == 0 ? kDefaults : kNothingSkipped;
}

// The product's workspace; one is enough, as it carries nothing between calls.
tovrel::dsp::Workspace& workspace() {
    static tovrel::dsp::Workspace instance;
    return instance;
}

bool straightforwardMatchesProduct(const ParameterSnapshot& p) {
    Buffers<float> product, fixed;
    tovrel::dsp::SignalState state = seeded<tovrel::dsp::SignalState>();
    tovrel::bench::FixedChain<tovrel::bench::FrozenDoubleDouble> chain(kSeedL, kSeedR);
    for (int block = 0; block < 8; ++block) {
        tovrel::dsp::processFloat(state, workspace(), kRate, p, product.in, product.out, kBlock);
        chain.process(kRate, p, fixed.in, fixed.out, kBlock);
        if (product.data[2] != fixed.data[2] || product.data[3] != fixed.data[3]) return false;
    }
    return true;
}

// One processing call of the product in either precision.
void processProduct(tovrel::dsp::SignalState& state, const ParameterSnapshot& p, float** in,
                    float** out, int frames) {
    tovrel::dsp::processFloat(state, workspace(), kRate, p, in, out, frames);
}
void processProduct(tovrel::dsp::SignalState& state, const ParameterSnapshot& p, double** in,
                    double** out, int frames) {
    tovrel::dsp::processDouble(state, workspace(), kRate, p, in, out, frames);
}

template <typename Sample>
void ProductRun(benchmark::State& run) {
    Buffers<Sample> b;
    tovrel::dsp::SignalState state = seeded<tovrel::dsp::SignalState>();
    const ParameterSnapshot p = settingOf(run);
    const int frames = static_cast<int>(run.range(1));
    for (auto _ : run) {
        processProduct(state, p, b.in, b.out, frames);
        benchmark::DoNotOptimize(b.data[2].data());
    }
    report(run);
}

void ProductFloat(benchmark::State& run) {
    ProductRun<float>(run);
}
void ProductDouble(benchmark::State& run) {
    ProductRun<double>(run);
}

// The two fixed yardsticks: the chain in plain double, and in the first product's double-double
// with out-of-line arithmetic. Float in and out. Benchmark-only.
template <typename T>
void FixedChainRun(benchmark::State& run) {
    Buffers<float> b;
    tovrel::bench::FixedChain<T> chain(kSeedL, kSeedR);
    const ParameterSnapshot p = settingOf(run);
    const int frames = static_cast<int>(run.range(1));
    for (auto _ : run) {
        chain.process(kRate, p, b.in, b.out, frames);
        benchmark::DoNotOptimize(b.data[2].data());
    }
    report(run);
}

void PlainDoubleYardstick(benchmark::State& run) {
    FixedChainRun<double>(run);
}

void StraightforwardDoubleDouble(benchmark::State& run) {
    // A yardstick that no longer sounds like the product measures nothing.
    if (!straightforwardMatchesProduct(settingOf(run))) {
        run.SkipWithError("the fixed double-double chain no longer matches the product");
        return;
    }
    FixedChainRun<tovrel::bench::FrozenDoubleDouble>(run);
}

// First argument 0: default parameters (trim only; drives, gain and mix skipped); 1: nothing
// skipped. Second: frames per call.
void settingsAndBlocks(benchmark::internal::Benchmark* b) {
    b->ArgNames({"nothing_skipped", "block"})->ArgsProduct({{0, 1}, {512, 64}});
}
BENCHMARK(ProductFloat)->Apply(settingsAndBlocks);
BENCHMARK(ProductDouble)->Apply(settingsAndBlocks);
BENCHMARK(PlainDoubleYardstick)->Apply(settingsAndBlocks);
BENCHMARK(StraightforwardDoubleDouble)->Apply(settingsAndBlocks);

}  // namespace

BENCHMARK_MAIN();
