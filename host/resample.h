// Whole-signal sample-rate conversion with libsamplerate's best sinc converter, for --rate.
#pragma once

#include <cstdint>
#include <vector>

namespace tovrel {

// Interleaved audio at `fromRate` to `toRate`; exactly round(frames * toRate / fromRate)
// frames come out. libsamplerate works in float, so a double signal passes through float.
// Throws HostError when the converter fails.
std::vector<float> resample(const std::vector<float>& interleaved, int channels, double fromRate,
                            double toRate);

// The frames a signal of `frames` at fromRate has at toRate.
std::int64_t resampledLength(std::int64_t frames, double fromRate, double toRate);

}  // namespace tovrel
