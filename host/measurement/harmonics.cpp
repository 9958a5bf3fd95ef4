#include "harmonics.h"

#include <cmath>

#include "frequency_response.h"
#include "level.h"
#include "sine.h"
#include "fourier_transform.h"

namespace tovrel::measurement {
namespace {

std::vector<SpectrumPoint> peakHeld(const std::vector<double>& amplitudes, std::size_t frames,
                                    int sampleRate, int bandsPerDecade) {
    std::vector<SpectrumPoint> points;
    const std::size_t last = amplitudes.size() - 1;
    std::size_t bin = static_cast<std::size_t>(
        std::ceil(kLowestFrequency * static_cast<double>(frames) / sampleRate));
    const double ratio = std::pow(10.0, 1.0 / bandsPerDecade);
    while (bin <= last) {
        // Each band ends a constant ratio above where it starts, and holds at least one bin.
        const auto end =
            std::min(last + 1, std::max(bin + 1, static_cast<std::size_t>(std::ceil(bin * ratio))));
        std::size_t loudest = bin;
        for (std::size_t k = bin; k < end; ++k) {
            if (amplitudes[k] > amplitudes[loudest]) loudest = k;
        }
        points.push_back(
            {binFrequency(loudest, frames, sampleRate), dbOfAmplitude(amplitudes[loudest])});
        bin = end;
    }
    return points;
}

ChannelHarmonics analyse(const std::vector<double>& output, int sampleRate, int bandsPerDecade) {
    const std::vector<double> amplitudes = binAmplitudes(output);
    const std::size_t frames = output.size();
    const auto fundamentalBin =
        static_cast<std::size_t>(std::llround(kTestFrequency * frames / sampleRate));
    ChannelHarmonics result;
    const double fundamental = amplitudes[fundamentalBin];
    double squares = 0.0;
    for (int h = 1; h <= kHarmonicsShown + 1; ++h) {
        const std::size_t bin = fundamentalBin * static_cast<std::size_t>(h);
        if (bin >= amplitudes.size() - 1) break;  // at or above Nyquist
        const double amplitude = amplitudes[bin];
        if (h > 1) squares += amplitude * amplitude;
        result.harmonics.push_back({h, binFrequency(bin, frames, sampleRate),
                                    dbOfAmplitude(amplitude),
                                    dbOfAmplitude(amplitude) - dbOfAmplitude(fundamental)});
    }
    const double thd = fundamental > 0.0 ? std::sqrt(squares) / fundamental : 0.0;
    result.thdPercent = 100.0 * thd;
    result.thdDb = dbOfAmplitude(thd);
    result.spectrum = peakHeld(amplitudes, frames, sampleRate, bandsPerDecade);
    return result;
}

}  // namespace

std::vector<double> binAmplitudes(const std::vector<double>& signal) {
    const std::vector<std::complex<double>> spectrum = realSpectrum(signal);
    const double n = static_cast<double>(signal.size());
    std::vector<double> amplitudes(spectrum.size());
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
        // DC and (for even N) Nyquist have no mirror image in the negative frequencies.
        const bool single = k == 0 || 2 * k == signal.size();
        amplitudes[k] = std::abs(spectrum[k]) * (single ? 1.0 : 2.0) / n;
    }
    return amplitudes;
}

Harmonics measureHarmonics(const InstanceFactory& factory, const ProbeSetup& setup,
                           const HarmonicsOptions& options) {
    const auto settle =
        static_cast<std::size_t>(std::lround(options.settleSeconds * setup.sampleRate));
    const auto frames = static_cast<std::size_t>(setup.sampleRate);  // one second: 1 Hz bins
    const double amplitude = amplitudeOfDb(options.levelDb);
    std::vector<double> signal(settle + frames);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        signal[i] = sineSample(amplitude, kTestFrequency, setup.sampleRate, i);
    }
    const ChannelSignals outputs = probe(factory, setup, signal);
    Harmonics result;
    result.levelDb = options.levelDb;
    for (const std::vector<double>& output : outputs) {
        const std::vector<double> analysed(output.begin() + static_cast<std::ptrdiff_t>(settle),
                                           output.end());
        result.channels.push_back(analyse(analysed, setup.sampleRate, options.bandsPerDecade));
    }
    return result;
}

}  // namespace tovrel::measurement
