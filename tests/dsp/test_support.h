// Shared helpers of the signal-path tests: a fresh state, parameter sets, stereo buffers with a
// repeatable test signal, and bit-level comparison.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/dsp/process.h"

namespace tovrel::dsp::test {

// Fixed noise seeds, so that renders compare without depending on the process's rand().
inline SignalState freshState() {
    SignalState state{};
    state.fpdL = 2654435769u, state.fpdR = 3141592653u;
    return state;
}

constexpr ParameterSnapshot kDefaults{0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
// Nothing is skipped: trim, drives, gain and mix all differ from 1.
constexpr ParameterSnapshot kEverythingOn{0.3f, 0.7f, 0.3f, 0.8f, 0.6f};
constexpr decltype(&SignalState::lowpassA) kSections[] = {
    &SignalState::lowpassA, &SignalState::lowpassB, &SignalState::lowpassC, &SignalState::lowpassD};

template <typename T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Stereo buffers holding repeatable noise in [-amplitude, amplitude) with a slow sine under it.
template <typename Sample>
struct Stereo {
    std::vector<Sample> left, right, outLeft, outRight;
    Sample *in[2], *out[2];
    Workspace workspace;  // the processor's own kernel unless a test turns it off

    explicit Stereo(std::size_t frames, double amplitude = 1.0, std::uint64_t seed = 1)
        : left(frames), right(frames), outLeft(frames), outRight(frames) {
        in[0] = left.data(), in[1] = right.data(), out[0] = outLeft.data(),
        out[1] = outRight.data();
        for (std::size_t i = 0; i < 2 * frames; ++i) {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            const double noise = static_cast<double>(seed >> 11) * 0x1p-53 * 2.0 - 1.0;
            const double x = 0.5 * noise + 0.5 * (static_cast<double>(seed >> 60) / 8.0 - 1.0);
            (i % 2 ? right : left)[i / 2] = static_cast<Sample>(amplitude * x);
        }
    }
    // Processes frames [first, first + count) in one call.
    void process(SignalState& s, float rate, const ParameterSnapshot& p, std::size_t first,
                 std::int32_t count) {
        Sample* i[2] = {in[0] + first, in[1] + first};
        Sample* o[2] = {out[0] + first, out[1] + first};
        if constexpr (sizeof(Sample) == sizeof(float)) {
            processFloat(s, workspace, rate, p, i, o, count);
        } else {
            processDouble(s, workspace, rate, p, i, o, count);
        }
    }
    void processAll(SignalState& s, float rate, const ParameterSnapshot& p, std::int32_t block) {
        const auto total = static_cast<std::int32_t>(left.size());
        for (std::int32_t at = 0; at < total; at += block) {
            process(s, rate, p, static_cast<std::size_t>(at), std::min(block, total - at));
        }
    }
    // Compares what reached the output pointers, wherever they point.
    bool outputsEqual(const Stereo& o) const {
        const std::size_t bytes = left.size() * sizeof(Sample);
        return !std::memcmp(out[0], o.out[0], bytes) && !std::memcmp(out[1], o.out[1], bytes);
    }
};

}  // namespace tovrel::dsp::test
