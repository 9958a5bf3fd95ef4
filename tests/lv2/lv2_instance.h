// An LV2 instance of the glue as a host holds it, and stereo test audio to run through it.
#pragma once

#include <lv2/core/lv2.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/parameter_table.h"
#include "lv2/ports.h"

namespace tovrel::lv2::test {

class Lv2Instance {
  public:
    explicit Lv2Instance(double sampleRate) : descriptor_(lv2_descriptor(0)) {
        static const LV2_Feature* const kNoFeatures[] = {nullptr};
        handle_ = descriptor_->instantiate(descriptor_, sampleRate, "", kNoFeatures);
    }
    ~Lv2Instance() {
        if (handle_ != nullptr) descriptor_->cleanup(handle_);
    }
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    bool valid() const { return handle_ != nullptr; }
    void connect(std::uint32_t port, void* data) { descriptor_->connect_port(handle_, port, data); }
    void activate() { descriptor_->activate(handle_); }
    void run(std::uint32_t frames) { descriptor_->run(handle_, frames); }

    // The controls in this object, and the audio in the given buffers, in index order.
    void connectAll(float* inLeft, float* inRight, float* outLeft, float* outRight) {
        for (std::uint32_t i = 0; i < kNumParameters; ++i) connect(i, &controls[i]);
        connect(kInputLeft, inLeft), connect(kInputRight, inRight);
        connect(kOutputLeft, outLeft), connect(kOutputRight, outRight);
    }

    float controls[kNumParameters] = {};

  private:
    const LV2_Descriptor* descriptor_;
    LV2_Handle handle_ = nullptr;
};

// Repeatable stereo noise over a slow sine, the shape the signal-path tests use.
struct StereoAudio {
    std::vector<float> left, right;
    explicit StereoAudio(std::size_t frames, std::uint64_t seed = 1) : left(frames), right(frames) {
        for (std::size_t i = 0; i < 2 * frames; ++i) {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            const double noise = static_cast<double>(seed >> 11) * 0x1p-53 * 2.0 - 1.0;
            const double x = 0.5 * noise + 0.5 * (static_cast<double>(seed >> 60) / 8.0 - 1.0);
            (i % 2 ? right : left)[i / 2] = static_cast<float>(x);
        }
    }
    std::size_t frames() const { return left.size(); }
    // Bit for bit: a sign of zero or a NaN's payload counts too.
    bool operator==(const StereoAudio& o) const {
        const std::size_t bytes = left.size() * sizeof(float);
        return frames() == o.frames() && !std::memcmp(left.data(), o.left.data(), bytes) &&
               !std::memcmp(right.data(), o.right.data(), bytes);
    }
};

}  // namespace tovrel::lv2::test
