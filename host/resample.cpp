#include "resample.h"

#include <samplerate.h>

#include <cmath>
#include <string>

#include "host_error.h"

namespace tovrel {

std::int64_t resampledLength(std::int64_t frames, double fromRate, double toRate) {
    return std::llround(static_cast<double>(frames) * toRate / fromRate);
}

std::vector<float> resample(const std::vector<float>& interleaved, int channels, double fromRate,
                            double toRate) {
    const auto frames = static_cast<std::int64_t>(interleaved.size()) / channels;
    const std::int64_t length = resampledLength(frames, fromRate, toRate);
    // Room for the converter's rounding; the result is cut or padded to the exact length.
    std::vector<float> out(static_cast<std::size_t>(length + 16) * channels, 0.0f);
    if (frames == 0) {
        out.resize(static_cast<std::size_t>(length) * channels);
        return out;
    }
    SRC_DATA data{};
    data.data_in = interleaved.data();
    data.input_frames = static_cast<long>(frames);
    data.data_out = out.data();
    data.output_frames = static_cast<long>(length + 16);
    data.src_ratio = toRate / fromRate;
    data.end_of_input = 1;
    if (const int error = src_simple(&data, SRC_SINC_BEST_QUALITY, channels)) {
        throw HostError(std::string("resampling failed: ") + src_strerror(error));
    }
    out.resize(static_cast<std::size_t>(length) * channels);
    return out;
}

}  // namespace tovrel
