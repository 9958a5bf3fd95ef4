#include "tools/render_check/compare/sample_diff.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tovrel::render {
namespace {

bool isFloat(std::uint64_t a, std::uint64_t b) {
    return a <= 0xffffffffu && b <= 0xffffffffu;
}

double valueOf(std::uint64_t word, bool asFloat) {
    if (asFloat) {
        const auto bits = static_cast<std::uint32_t>(word);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

void compareSample(std::uint64_t reference, std::uint64_t ours, SampleDiff& d) {
    ++d.samples;
    if (reference == ours) return;
    ++d.differing;
    const bool asFloat = isFloat(reference, ours);
    const double difference = std::fabs(valueOf(reference, asFloat) - valueOf(ours, asFloat));
    d.largest = std::max(
        d.largest, std::isnan(difference) ? std::numeric_limits<double>::infinity() : difference);
    d.largestUlps = std::max(d.largestUlps, ulpsOfLarger(reference, ours));
}

}  // namespace

void SampleDiff::add(const SampleDiff& other) {
    samples += other.samples;
    differing += other.differing;
    largest = std::max(largest, other.largest);
    largestUlps = std::max(largestUlps, other.largestUlps);
}

double ulpsOfLarger(std::uint64_t a, std::uint64_t b) {
    const bool asFloat = isFloat(a, b);
    const double x = valueOf(a, asFloat), y = valueOf(b, asFloat);
    const double larger = std::max(std::fabs(x), std::fabs(y));
    const double ulp = asFloat ? std::nextafter(static_cast<float>(larger), HUGE_VALF) - larger
                               : std::nextafter(larger, HUGE_VAL) - larger;
    return std::fabs(x - y) / ulp;
}

SampleDiff diffSamples(const std::map<long, std::vector<std::uint64_t>>& reference,
                       const std::map<long, std::vector<std::uint64_t>>& ours) {
    SampleDiff d;
    for (const auto& [index, theirs] : reference) {
        const auto found = ours.find(index);
        const std::vector<std::uint64_t> none;
        const std::vector<std::uint64_t>& mine = found == ours.end() ? none : found->second;
        for (std::size_t i = 0; i < theirs.size(); ++i) {
            if (i < mine.size()) {
                compareSample(theirs[i], mine[i], d);
            } else {
                ++d.samples;
                ++d.differing;
                d.largest = std::numeric_limits<double>::infinity();
            }
        }
    }
    for (const auto& [index, mine] : ours) {
        if (reference.count(index) == 0) {
            d.samples += static_cast<long>(mine.size());
            d.differing += static_cast<long>(mine.size());
            d.largest = std::numeric_limits<double>::infinity();
        }
    }
    return d;
}

}  // namespace tovrel::render
