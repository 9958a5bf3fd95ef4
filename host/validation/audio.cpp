#include "audio.h"

#include <cmath>
#include <cstdio>

#include "outcome.h"

namespace tovrel::validation {

std::uint64_t Noise::next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

double Noise::uniform() {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

template <typename Sample>
Channels<Sample>::Channels(int count, int frames, Sample fill)
    : data(static_cast<std::size_t>(count),
           std::vector<Sample>(static_cast<std::size_t>(frames), fill)),
      pointers(static_cast<std::size_t>(count) + 1, nullptr),
      length(frames) {}

template <typename Sample>
Sample** Channels<Sample>::at(int offset) {
    for (std::size_t c = 0; c < data.size(); ++c) pointers[c] = data[c].data() + offset;
    return pointers.data();
}

template <typename Sample>
Channels<Sample> whiteNoise(int channels, int frames, std::uint64_t seed) {
    Channels<Sample> noise(channels, frames);
    Noise source(seed);
    for (auto& channel : noise.data) {
        for (Sample& sample : channel) sample = static_cast<Sample>(0.5 * source.signedUnit());
    }
    return noise;
}

void processBlock(Instance& instance, Channels<float>& in, Channels<float>& out, int offset,
                  int frames) {
    if (instance.record().processReplacing == nullptr) {
        throw CheckFailure(expectedSeen("a processReplacing entry", "none"));
    }
    instance.record().processReplacing(&instance.record(), in.at(offset), out.at(offset), frames);
}

void processBlock(Instance& instance, Channels<double>& in, Channels<double>& out, int offset,
                  int frames) {
    if (instance.record().processDoubleReplacing == nullptr) {
        throw CheckFailure(expectedSeen("a processDoubleReplacing entry", "none"));
    }
    instance.record().processDoubleReplacing(&instance.record(), in.at(offset), out.at(offset),
                                             frames);
}

template <typename Sample>
Channels<Sample> render(Instance& instance, Channels<Sample>& input,
                        const std::vector<int>& blockSizes) {
    Channels<Sample> output(instance.numOutputs(), input.frames());
    int offset = 0;
    for (std::size_t i = 0; offset < input.frames(); ++i) {
        const int frames = std::min(blockSizes[i % blockSizes.size()], input.frames() - offset);
        processBlock(instance, input, output, offset, frames);
        offset += frames;
    }
    return output;
}

template <typename Sample>
std::string firstNonFinite(const Channels<Sample>& samples, int from, int to) {
    if (to < 0) to = samples.frames();
    for (std::size_t c = 0; c < samples.data.size(); ++c) {
        for (int f = from; f < to; ++f) {
            const Sample value = samples.data[c][static_cast<std::size_t>(f)];
            if (!std::isfinite(value)) {
                char text[96];
                std::snprintf(text, sizeof text, "channel %zu frame %d (%g)", c, f,
                              static_cast<double>(value));
                return text;
            }
        }
    }
    return {};
}

template <typename Sample>
long countSubnormal(const Channels<Sample>& samples) {
    long count = 0;
    for (const auto& channel : samples.data) {
        for (Sample value : channel) count += std::fpclassify(value) == FP_SUBNORMAL;
    }
    return count;
}

template <typename Sample>
double largestDifference(const Channels<Sample>& a, const Channels<Sample>& b) {
    double largest = 0.0;
    for (std::size_t c = 0; c < a.data.size() && c < b.data.size(); ++c) {
        for (std::size_t f = 0; f < a.data[c].size() && f < b.data[c].size(); ++f) {
            const double difference =
                std::fabs(static_cast<double>(a.data[c][f]) - static_cast<double>(b.data[c][f]));
            if (!(difference <= largest)) largest = difference;  // NaN counts as largest
        }
    }
    return largest;
}

const char* precisionName(const Channels<float>&) {
    return "float";
}
const char* precisionName(const Channels<double>&) {
    return "double";
}

#define TOVREL_AUDIO_FOR(Sample)                                                    \
    template struct Channels<Sample>;                                               \
    template Channels<Sample> whiteNoise<Sample>(int, int, std::uint64_t);          \
    template Channels<Sample> render<Sample>(Instance&, Channels<Sample>&,          \
                                             const std::vector<int>&);              \
    template std::string firstNonFinite<Sample>(const Channels<Sample>&, int, int); \
    template long countSubnormal<Sample>(const Channels<Sample>&);                  \
    template double largestDifference<Sample>(const Channels<Sample>&, const Channels<Sample>&);
TOVREL_AUDIO_FOR(float)
TOVREL_AUDIO_FOR(double)
#undef TOVREL_AUDIO_FOR

}  // namespace tovrel::validation
