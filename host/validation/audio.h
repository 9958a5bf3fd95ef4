// Channel buffers, test signals and block-by-block rendering through an instance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "instance.h"

namespace tovrel::validation {

// A small, fully specified generator, so every run with one seed feeds the same samples.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();  // [0, 1)
    double signedUnit() { return 2.0 * uniform() - 1.0; }
    int below(int limit) { return static_cast<int>(next() % static_cast<std::uint64_t>(limit)); }

  private:
    std::uint64_t state_;
};

template <typename Sample>
struct Channels {
    std::vector<std::vector<Sample>> data;
    std::vector<Sample*> pointers;
    int length = 0;

    Channels(int count, int frames, Sample fill = Sample(0));
    int frames() const { return length; }
    // Pointers to each channel starting at `offset`.
    Sample** at(int offset);
};

// White noise at about -6 dBFS.
template <typename Sample>
Channels<Sample> whiteNoise(int channels, int frames, std::uint64_t seed);

// Processes `frames` frames at `offset` in either precision.
void processBlock(Instance& instance, Channels<float>& in, Channels<float>& out, int offset,
                  int frames);
void processBlock(Instance& instance, Channels<double>& in, Channels<double>& out, int offset,
                  int frames);

// Renders the whole input in blocks of the given sizes, cycled.
template <typename Sample>
Channels<Sample> render(Instance& instance, Channels<Sample>& input,
                        const std::vector<int>& blockSizes);

// The first output sample that is NaN or infinite, as "channel C frame F (value)"; empty when
// every sample is finite.
template <typename Sample>
std::string firstNonFinite(const Channels<Sample>& samples, int from = 0, int to = -1);

// Counts subnormal samples.
template <typename Sample>
long countSubnormal(const Channels<Sample>& samples);

// Largest absolute difference between two renders of the same shape.
template <typename Sample>
double largestDifference(const Channels<Sample>& a, const Channels<Sample>& b);

const char* precisionName(const Channels<float>&);
const char* precisionName(const Channels<double>&);

}  // namespace tovrel::validation
