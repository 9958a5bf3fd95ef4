// Harmonics of a 1 kHz sine: after a settling run, exactly one second of output is analysed, so
// the sine and every harmonic fall on whole bins and no window is needed.
#pragma once

#include <vector>

#include "plugin_probe.h"

namespace tovrel::measurement {

inline constexpr int kHarmonicsShown = 9;  // the 2nd to the 10th

struct SpectrumPoint {
    double frequency = 0.0;  // Hz
    double levelDb = 0.0;    // dBFS of a sine's peak: a full-scale sine reads 0
};

struct HarmonicLevel {
    int number = 0;           // 1 is the fundamental
    double frequency = 0.0;   // Hz
    double levelDb = 0.0;     // dBFS
    double relativeDb = 0.0;  // dB against the fundamental
};

struct ChannelHarmonics {
    std::vector<HarmonicLevel> harmonics;  // fundamental first, then those below Nyquist
    double thdPercent = 0.0;  // root-sum-square of the harmonics shown over the fundamental
    double thdDb = 0.0;
    // Peak-held over log-spaced bands from 10 Hz to Nyquist: a harmonic keeps its level.
    std::vector<SpectrumPoint> spectrum;
};

struct Harmonics {
    double levelDb = 0.0;  // of the input sine
    std::vector<ChannelHarmonics> channels;
};

struct HarmonicsOptions {
    double levelDb = -6.0;
    double settleSeconds = 0.5;
    int bandsPerDecade = 200;
};

// Peak amplitudes of an N-point signal from its spectrum, bins 0 to N/2.
std::vector<double> binAmplitudes(const std::vector<double>& signal);

Harmonics measureHarmonics(const InstanceFactory& factory, const ProbeSetup& setup,
                           const HarmonicsOptions& options = {});

}  // namespace tovrel::measurement
