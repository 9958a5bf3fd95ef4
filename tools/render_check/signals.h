// Test signals built from plain double arithmetic only, so that every platform produces the
// same bits without relying on its maths library.
#pragma once

#include <cstdint>
#include <vector>

namespace tovrel::render {

enum class SignalKind { Sweep, Noise, Silence, Square, Tiny, Burst };

struct SignalSpec {
    SignalKind kind = SignalKind::Sweep;
    double level = 1.0;  // peak magnitude (Tiny: the magnitude the samples lie around)
};

struct StereoSignal {
    std::vector<double> left, right;
};

// A 32-bit xorshift generator: the program's own, so the effect's rand() stays untouched.
class NoiseSource {
  public:
    explicit NoiseSource(std::uint32_t seed) : state_(seed != 0 ? seed : 1u) {}
    std::uint32_t next();
    // Uniform in [-1, 1), exactly a multiple of 2^-31.
    double nextBipolar();

  private:
    std::uint32_t state_;
};

// sin(2 pi cycles) by range reduction and a Taylor polynomial; accurate to about 1e-13.
double portableSine(double cycles);

StereoSignal makeSignal(const SignalSpec& signal, double sampleRate, int frames);

}  // namespace tovrel::render
