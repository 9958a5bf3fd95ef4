#include "transfer_curve.h"

#include <cmath>

#include "level.h"
#include "sine.h"

namespace tovrel::measurement {

std::vector<TransferPoint> measureTransfer(const InstanceFactory& factory, const ProbeSetup& setup,
                                           const TransferOptions& options) {
    const auto settle =
        static_cast<std::size_t>(std::lround(options.settleSeconds * setup.sampleRate));
    const auto read = static_cast<std::size_t>(std::lround(options.readSeconds * setup.sampleRate));
    const auto steps =
        static_cast<std::size_t>(std::lround((options.toDb - options.fromDb) / options.stepDb)) + 1;
    std::vector<TransferPoint> points(steps);
    std::vector<double> signal;
    signal.reserve(steps * (settle + read));
    for (std::size_t s = 0; s < steps; ++s) {
        points[s].inputDb = options.fromDb + options.stepDb * static_cast<double>(s);
        const double amplitude = amplitudeOfDb(points[s].inputDb);
        for (std::size_t i = 0; i < settle + read; ++i) {
            // One continuous sine; only its amplitude steps.
            signal.push_back(
                sineSample(amplitude, kTestFrequency, setup.sampleRate, signal.size()));
        }
    }
    const ChannelSignals outputs = probe(factory, setup, signal);
    for (std::size_t s = 0; s < steps; ++s) {
        const std::size_t begin = s * (settle + read) + settle;
        double peak = 0.0;
        for (const std::vector<double>& output : outputs) {
            for (std::size_t i = begin; i < begin + read; ++i)
                peak = std::max(peak, std::fabs(output[i]));
        }
        points[s].outputDb = dbOfAmplitude(peak);
    }
    return points;
}

}  // namespace tovrel::measurement
