// Shared helpers of the signal-path tests: a fresh state, parameter sets, stereo buffers with a
// repeatable test signal, and bit-level comparison of states.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/dsp/process.h"
#include "effect/dsp/signal_state.h"

namespace tovrel::dsp::test {

inline SignalState freshState(std::uint32_t fpdL = 2654435769u, std::uint32_t fpdR = 3141592653u) {
    SignalState state{};
    state.fpdL = fpdL;
    state.fpdR = fpdR;
    return state;
}

constexpr ParameterSnapshot kDefaults{0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
// Nothing is skipped: trim, drives, gain and mix all differ from 1.
constexpr ParameterSnapshot kEverythingOn{0.3f, 0.7f, 0.3f, 0.8f, 0.6f};

// Repeatable noise in [-amplitude, amplitude) with a slow sine under it.
inline double testSample(std::uint64_t& seed, double amplitude) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    const double noise = static_cast<double>(seed >> 11) * 0x1p-53 * 2.0 - 1.0;
    return amplitude * (0.5 * noise + 0.5 * (static_cast<double>(seed >> 60) / 8.0 - 1.0));
}

template <typename Sample>
struct Stereo {
    std::vector<Sample> left, right, outLeft, outRight;
    Sample* in[2];
    Sample* out[2];

    explicit Stereo(std::size_t frames, double amplitude = 1.0, std::uint64_t seed = 1)
        : left(frames), right(frames), outLeft(frames), outRight(frames) {
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = static_cast<Sample>(testSample(seed, amplitude));
            right[i] = static_cast<Sample>(testSample(seed, amplitude));
        }
        in[0] = left.data(), in[1] = right.data(), out[0] = outLeft.data(),
        out[1] = outRight.data();
    }
    // Processes frames [first, first + count) of the buffers in one call.
    void process(SignalState& s, float rate, const ParameterSnapshot& p, std::size_t first,
                 std::int32_t count) {
        Sample* i[2] = {in[0] + first, in[1] + first};
        Sample* o[2] = {out[0] + first, out[1] + first};
        if constexpr (sizeof(Sample) == sizeof(float)) {
            processFloat(s, rate, p, i, o, count);
        } else {
            processDouble(s, rate, p, i, o, count);
        }
    }
    void processAll(SignalState& s, float rate, const ParameterSnapshot& p, std::int32_t block) {
        const std::int32_t total = static_cast<std::int32_t>(left.size());
        for (std::int32_t at = 0; at < total; at += block) {
            process(s, rate, p, static_cast<std::size_t>(at), std::min(block, total - at));
        }
    }
};

inline bool sameBits(const SignalState& a, const SignalState& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <typename Sample>
bool sameBits(const std::vector<Sample>& a, const std::vector<Sample>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Sample)) == 0;
}

}  // namespace tovrel::dsp::test
