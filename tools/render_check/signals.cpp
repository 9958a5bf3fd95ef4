#include "tools/render_check/signals.h"

#include <cmath>

namespace tovrel::render {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

// Linear chirp from 20 Hz to just below Nyquist (capped at 20 kHz); the right channel runs a
// quarter cycle ahead.
StereoSignal sweep(double level, double rate, int frames) {
    StereoSignal out{std::vector<double>(frames), std::vector<double>(frames)};
    const double top = rate * 0.45 < 20000.0 ? rate * 0.45 : 20000.0;
    double phase = 0.0;
    for (int n = 0; n < frames; ++n) {
        out.left[n] = level * portableSine(phase);
        out.right[n] = level * portableSine(phase + 0.25);
        const double frequency = 20.0 + (top - 20.0) * (static_cast<double>(n) / frames);
        phase += frequency / rate;
        phase -= std::floor(phase);
    }
    return out;
}

StereoSignal noise(double level, int frames, std::uint32_t seed) {
    NoiseSource source(seed);
    StereoSignal out{std::vector<double>(frames), std::vector<double>(frames)};
    for (int n = 0; n < frames; ++n) {
        out.left[n] = level * source.nextBipolar();
        out.right[n] = level * source.nextBipolar();
    }
    return out;
}

// 110 Hz on the left, 173 Hz on the right, so the edges do not line up.
StereoSignal square(double level, double rate, int frames) {
    StereoSignal out{std::vector<double>(frames), std::vector<double>(frames)};
    for (int n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / rate;
        out.left[n] = t * 110.0 - std::floor(t * 110.0) < 0.5 ? level : -level;
        out.right[n] = t * 173.0 - std::floor(t * 173.0) < 0.5 ? -level : level;
    }
    return out;
}

// Magnitudes between half and one and a half times the level, with random signs.
StereoSignal tiny(double level, int frames) {
    StereoSignal out = noise(1.0, frames, 0x7e57u);
    for (double* channel : {out.left.data(), out.right.data()}) {
        for (int n = 0; n < frames; ++n) {
            const double magnitude = level * (0.5 + std::fabs(channel[n]));
            channel[n] = channel[n] < 0.0 ? -magnitude : magnitude;
        }
    }
    return out;
}

// A twentieth of a second of noise, then silence for the filters to decay through.
StereoSignal burst(double level, double rate, int frames) {
    StereoSignal out = noise(level, frames, 0xb0a5u);
    const int loud = static_cast<int>(rate / 20.0);
    for (int n = loud; n < frames; ++n) out.left[n] = out.right[n] = 0.0;
    return out;
}

}  // namespace

std::uint32_t NoiseSource::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double NoiseSource::nextBipolar() {
    return static_cast<double>(static_cast<std::int32_t>(next())) * (1.0 / 2147483648.0);
}

double portableSine(double cycles) {
    double turn = cycles - std::floor(cycles);  // [0, 1)
    if (turn >= 0.5) turn -= 1.0;               // [-0.5, 0.5)
    double x = kTwoPi * turn;                   // [-pi, pi)
    if (x > kHalfPi) x = kPi - x;
    if (x < -kHalfPi) x = -kPi - x;  // [-pi/2, pi/2]
    const double x2 = x * x;
    double term = 1.0;
    for (int k = 19; k >= 3; k -= 2) term = 1.0 - x2 / static_cast<double>(k * (k - 1)) * term;
    return x * term;
}

StereoSignal makeSignal(const SignalSpec& signal, double sampleRate, int frames) {
    switch (signal.kind) {
        case SignalKind::Sweep:
            return sweep(signal.level, sampleRate, frames);
        case SignalKind::Noise:
            return noise(signal.level, frames, 0x5eedu);
        case SignalKind::Silence:
            return {std::vector<double>(frames), std::vector<double>(frames)};
        case SignalKind::Square:
            return square(signal.level, sampleRate, frames);
        case SignalKind::Tiny:
            return tiny(signal.level, frames);
        case SignalKind::Burst:
            return burst(signal.level, sampleRate, frames);
    }
    return {};
}

}  // namespace tovrel::render
