// How much two full renders of one case differ, sample by sample: a measure for builds that do
// not match yet, where the first differing frame alone says little.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace tovrel::render {

struct SampleDiff {
    long samples = 0;        // compared: frames times two channels
    long differing = 0;      // samples whose bits differ, or that one side lacks
    double largest = 0;      // largest absolute difference (infinite where one side is not finite)
    double largestUlps = 0;  // largest difference in units in the last place of the larger

    void add(const SampleDiff& other);
};

// Words are sample bit patterns as the dumps print them: a float's 32 bits, or a double's 64.
SampleDiff diffSamples(const std::map<long, std::vector<std::uint64_t>>& reference,
                       const std::map<long, std::vector<std::uint64_t>>& ours);

// The difference of two samples in units in the last place of the larger of the two (floats when
// both words fit in 32 bits). Counting representable values instead would make a tiny step
// across zero look huge.
double ulpsOfLarger(std::uint64_t a, std::uint64_t b);

}  // namespace tovrel::render
