// A sine at a peak amplitude, starting at phase zero.
#pragma once

#include <cmath>
#include <cstddef>

namespace tovrel::measurement {

inline constexpr double kTestFrequency = 1000.0;  // Hz, for the transfer curve and harmonics

// Sample n of a sine of `frequency` Hz. The phase is reduced exactly in whole periods of the
// sample rate first, so long runs stay as accurate as short ones.
inline double sineSample(double amplitude, double frequency, int sampleRate, std::size_t n) {
    const auto period = static_cast<std::size_t>(sampleRate);
    const double cycles = frequency * static_cast<double>(n % period) / sampleRate;
    return amplitude * std::sin(2.0 * M_PI * cycles);
}

}  // namespace tovrel::measurement
