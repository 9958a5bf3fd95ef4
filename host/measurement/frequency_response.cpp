#include "frequency_response.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "level.h"
#include "fourier_transform.h"

namespace tovrel::measurement {
namespace {

// Channels closer than this draw as one line.
constexpr double kSameMagnitudeDb = 0.01;
constexpr double kSamePhaseDegrees = 0.1;

ChannelResponse responseOf(const std::vector<double>& output, double amplitude,
                           const std::vector<std::size_t>& bins, int sampleRate) {
    const std::vector<std::complex<double>> spectrum = realSpectrum(output);
    ChannelResponse response;
    for (const std::size_t bin : bins) {
        const std::complex<double> gain = spectrum[bin] / amplitude;
        ResponsePoint point;
        point.frequency = binFrequency(bin, output.size(), sampleRate);
        point.magnitudeDb = dbOfAmplitude(std::abs(gain));
        point.phaseDegrees = wrapDegrees(std::arg(gain) * 180.0 / M_PI);
        response.points.push_back(point);
    }
    return response;
}

// Where a channel is this far below its loudest, its response is lost in the plug-in's own
// noise (a dither differs per channel) and does not count.
constexpr double kComparedRangeDb = 60.0;

double loudest(const ChannelResponse& response) {
    double most = kFloorDb;
    for (const ResponsePoint& point : response.points) most = std::max(most, point.magnitudeDb);
    return most;
}

bool differ(const ChannelResponse& a, const ChannelResponse& b) {
    const double floor = std::max(loudest(a), loudest(b)) - kComparedRangeDb;
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        if (a.points[i].magnitudeDb < floor && b.points[i].magnitudeDb < floor) continue;
        const double phase = wrapDegrees(a.points[i].phaseDegrees - b.points[i].phaseDegrees);
        if (std::fabs(a.points[i].magnitudeDb - b.points[i].magnitudeDb) > kSameMagnitudeDb ||
            std::fabs(phase) > kSamePhaseDegrees) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::size_t responseFrames(int sampleRate) {
    std::size_t frames = 1;
    while (frames < static_cast<std::size_t>(sampleRate)) frames *= 2;
    return frames;
}

std::vector<std::size_t> responseBins(std::size_t frames, int sampleRate, int pointsPerDecade) {
    const double spacing = static_cast<double>(sampleRate) / static_cast<double>(frames);
    const std::size_t last = frames / 2;
    const double decades = std::log10(sampleRate / 2.0 / kLowestFrequency);
    const int steps = static_cast<int>(std::ceil(decades * pointsPerDecade));
    std::vector<std::size_t> bins;
    for (int i = 0; i <= steps; ++i) {
        const double frequency = kLowestFrequency * std::pow(10.0, decades * i / steps);
        auto bin = static_cast<std::size_t>(std::llround(frequency / spacing));
        bin = std::min(std::max<std::size_t>(bin, 1), last);
        if (bins.empty() || bin > bins.back()) bins.push_back(bin);
    }
    return bins;
}

double upperCorner(const ChannelResponse& response, double reference) {
    const std::vector<ResponsePoint>& points = response.points;
    auto peak = std::lower_bound(
        points.begin(), points.end(), reference,
        [](const ResponsePoint& point, double frequency) { return point.frequency < frequency; });
    if (peak == points.end()) return 0.0;
    for (auto at = peak; at != points.end(); ++at) {
        if (at->magnitudeDb > peak->magnitudeDb) peak = at;
    }
    for (auto at = peak; at != points.end(); ++at) {
        if (at->magnitudeDb < peak->magnitudeDb - 3.0) return at->frequency;
    }
    return 0.0;
}

double wrapDegrees(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);  // (-360, 360)
    if (wrapped > 180.0) wrapped -= 360.0;
    if (wrapped <= -180.0) wrapped += 360.0;
    return wrapped;
}

FrequencyResponse measureResponse(const InstanceFactory& factory, const ProbeSetup& setup,
                                  const ResponseOptions& options) {
    FrequencyResponse result;
    result.levelDb = options.levelDb;
    result.frames = responseFrames(setup.sampleRate);
    const double amplitude = amplitudeOfDb(options.levelDb);
    std::vector<double> impulse(result.frames, 0.0);
    impulse[0] = amplitude;
    const ChannelSignals outputs = probe(factory, setup, impulse);
    const std::vector<std::size_t> bins =
        responseBins(result.frames, setup.sampleRate, options.pointsPerDecade);
    for (const std::vector<double>& output : outputs) {
        result.channels.push_back(responseOf(output, amplitude, bins, setup.sampleRate));
        result.channelsDiffer =
            result.channelsDiffer || differ(result.channels.front(), result.channels.back());
    }
    return result;
}

}  // namespace tovrel::measurement
