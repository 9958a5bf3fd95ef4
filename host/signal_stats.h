// Per-channel peak and RMS of interleaved audio, for the run summary.
#pragma once

#include <cstdint>
#include <vector>

namespace tovrel {

class SignalStats {
  public:
    explicit SignalStats(int channels);

    template <typename T>
    void add(const T* interleaved, int frames) {
        const std::size_t channels = peaks_.size();
        for (int i = 0; i < frames; ++i) {
            for (std::size_t c = 0; c < channels; ++c) {
                const double x = static_cast<double>(interleaved[i * channels + c]);
                const double magnitude = x < 0 ? -x : x;
                if (magnitude > peaks_[c]) peaks_[c] = magnitude;
                squares_[c] += x * x;
            }
        }
        frames_ += static_cast<std::uint64_t>(frames);
    }

    int channels() const { return static_cast<int>(peaks_.size()); }
    std::uint64_t frames() const { return frames_; }
    double peak(int channel) const { return peaks_[static_cast<std::size_t>(channel)]; }
    double rms(int channel) const;

  private:
    std::vector<double> peaks_;
    std::vector<double> squares_;
    std::uint64_t frames_ = 0;
};

// Level in dBFS; silence is minus infinity.
double toDbfs(double level);

}  // namespace tovrel
