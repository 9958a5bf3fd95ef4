#include "demo_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tovrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 0.5;          // 120 beats per minute
constexpr double kSilenceShare = 0.2;  // the last fifth is silent

// Small deterministic noise source; the C library's rand() is left alone for the plug-in.
class Noise {
  public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_ = 0x9E3779B9u;
};

double drum(double t) {
    const double age = std::fmod(t, kBeat);
    // Pitch falling from 150 Hz to 50 Hz under a fast decay: the thump of a kick.
    const double phase = 2.0 * kPi * (50.0 * age + 100.0 / 30.0 * (1.0 - std::exp(-age * 30.0)));
    return 0.5 * std::exp(-age * 9.0) * std::sin(phase);
}

double bass(double t) {
    static const double notes[] = {55.0, 55.0, 65.41, 82.41, 49.0, 49.0, 73.42, 82.41};
    const double step = kBeat / 2.0;
    const auto index = static_cast<std::size_t>(t / step) % 8;
    const double age = std::fmod(t, step);
    const double f = notes[index];
    double tone = 0.0;
    for (int harmonic = 1; harmonic <= 5; ++harmonic) {
        tone += std::sin(2.0 * kPi * f * harmonic * t) / harmonic;
    }
    return 0.16 * std::exp(-age * 4.0) * std::min(1.0, age * 200.0) * tone;
}

double sweep(double t, double length) {
    // Exponential rise from 80 Hz to 12 kHz across the sounding part.
    const double ratio = 12000.0 / 80.0;
    const double phase =
        2.0 * kPi * 80.0 * length / std::log(ratio) * (std::pow(ratio, t / length) - 1.0);
    return 0.08 * std::sin(phase);
}

double burstEnvelope(double t) {
    const double age = std::fmod(t + kBeat / 2.0, kBeat);  // on the off-beats
    return age < 0.06 ? 0.15 * std::exp(-age * 50.0) : 0.0;
}

}  // namespace

std::vector<float> makeDemoSignal(double seconds, int sampleRate) {
    const auto frames = static_cast<std::size_t>(seconds * sampleRate);
    const double sounding = seconds * (1.0 - kSilenceShare);
    std::vector<float> audio(frames * kDemoChannels, 0.0f);
    Noise noise;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        if (t >= sounding) break;
        const double fade = std::min(1.0, (sounding - t) * 50.0);  // no click into the silence
        const double centre = drum(t) + bass(t);
        const double pan = t / sounding;
        const double hiss = burstEnvelope(t) * noise.next();
        const bool left = static_cast<long>(t / kBeat) % 2 == 0;
        const double s = sweep(t, sounding);
        audio[2 * i] = static_cast<float>(fade * (centre + s * (1.0 - pan) + (left ? hiss : 0.0)));
        audio[2 * i + 1] = static_cast<float>(fade * (centre + s * pan + (left ? 0.0 : hiss)));
    }
    return audio;
}

}  // namespace tovrel
