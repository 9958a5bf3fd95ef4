// Frequency response by impulse: a single sample at a low level, long enough a run to resolve
// the lowest frequency shown, read back per output channel.
#pragma once

#include <vector>

#include "plugin_probe.h"

namespace tovrel::measurement {

inline constexpr double kLowestFrequency = 10.0;  // Hz, the left edge of every response

struct ResponsePoint {
    double frequency = 0.0;  // Hz, exactly the frequency of the bin measured
    double magnitudeDb = 0.0;
    double phaseDegrees = 0.0;  // wrapped to (-180, 180]
};

struct ChannelResponse {
    std::vector<ResponsePoint> points;
};

struct FrequencyResponse {
    double levelDb = -40.0;  // of the impulse, dBFS
    std::size_t frames = 0;  // length of the run and of the transform
    std::vector<ChannelResponse> channels;
    // False when every channel's response matches the first within display precision.
    bool channelsDiffer = false;
};

struct ResponseOptions {
    double levelDb = -40.0;
    int pointsPerDecade = 96;
};

// The smallest power of two at least one second long: bins 1 Hz apart or closer, and time
// for slow high-passes to die away before the run ends.
std::size_t responseFrames(int sampleRate);

// The bins shown: log-spaced from kLowestFrequency to Nyquist, each bin once, in order.
std::vector<std::size_t> responseBins(std::size_t frames, int sampleRate, int pointsPerDecade);

// The corner of a low-pass: the first frequency above the loudest point at or above
// `reference` Hz where the magnitude has fallen 3 dB below that point. 0 when it never does.
double upperCorner(const ChannelResponse& response, double reference = 1000.0);

// Angle in degrees wrapped to (-180, 180].
double wrapDegrees(double degrees);

FrequencyResponse measureResponse(const InstanceFactory& factory, const ProbeSetup& setup,
                                  const ResponseOptions& options = {});

}  // namespace tovrel::measurement
