// The built-in demo material: a few seconds of music-like stereo sound made in code, so the
// demo needs no input file. Deterministic: the same samples on every run and machine.
#pragma once

#include <vector>

namespace tovrel {

inline constexpr int kDemoSampleRate = 44100;
inline constexpr int kDemoChannels = 2;

// A drum-like pulse, a bass line, a rising sweep and noise bursts, then a passage of silence.
std::vector<float> makeDemoSignal(double seconds = 8.0, int sampleRate = kDemoSampleRate);

}  // namespace tovrel
