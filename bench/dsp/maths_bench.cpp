// Our pow(x, 5.0) beside the C library's on audio-like inputs, and our tangent beside the
// library's on the block setup's arguments: the plug-in's own maths must cost no more.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/dsp/maths/pow_five.h"
#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/maths/tangent.h"

namespace {

constexpr int kValues = 4096;

// Random values in [-1.5, 1.5]: what the saturators see, and a little beyond.
std::vector<double> audioLike() {
    std::vector<double> values(kValues);
    std::uint64_t x = 12345;
    for (double& v : values) {
        x = x * 6364136223846793005u + 1442695040888963407u;
        v = (static_cast<double>(x >> 11) * 0x1p-53 - 0.5) * 3.0;
    }
    return values;
}

// pi * 19160 / rate for rates spread from 38.4 kHz to 768 kHz: every path of the tangent.
std::vector<double> setupArguments() {
    std::vector<double> values(kValues);
    for (int i = 0; i < kValues; ++i) {
        const float rate = 38400.0f + 180.0f * static_cast<float>(i);
        values[i] = 3.141592653589793 * (19160.0 / static_cast<double>(rate));
    }
    return values;
}

template <typename Function>
void run(benchmark::State& state, const std::vector<double>& values, Function f) {
    for (auto _ : state) {
        for (double x : values) benchmark::DoNotOptimize(f(x));
    }
    state.SetItemsProcessed(state.iterations() * kValues);
}

volatile double libraryExponent = 5.0;  // keeps the library call from being rewritten

// Inline, with the library's fma: a call per fused operation unless built for FMA.
void BM_PowFive_Ours(benchmark::State& state) {
    run(state, audioLike(), tovrel::dsp::maths::powFive);
}
// The out-of-line form the portable path calls: the FMA instruction where the processor has it.
void BM_PowFive_OursScalar(benchmark::State& state) {
    run(state, audioLike(), tovrel::dsp::maths::powFiveScalar);
}
void BM_PowFive_Library(benchmark::State& state) {
    const double exponent = libraryExponent;
    run(state, audioLike(), [exponent](double x) { return std::pow(x, exponent); });
}
void BM_Tangent_Ours(benchmark::State& state) {
    run(state, setupArguments(), tovrel::dsp::maths::tangentOnSetupRange);
}
void BM_Tangent_Library(benchmark::State& state) {
    run(state, setupArguments(), [](double x) { return std::tan(x); });
}

BENCHMARK(BM_PowFive_Ours);
BENCHMARK(BM_PowFive_OursScalar);
BENCHMARK(BM_PowFive_Library);
BENCHMARK(BM_Tangent_Ours);
BENCHMARK(BM_Tangent_Library);

}  // namespace

BENCHMARK_MAIN();
