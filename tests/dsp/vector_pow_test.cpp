// pow(x, 5.0) in the kernel's lanes against the scalar form, bit for bit: random doubles over
// every exponent and both signs, audio-sized values, and every edge class, which the lanes hand
// to the scalar form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/vector/kernel.h"

namespace tovrel::dsp::vector {
namespace {

std::uint64_t bitsOf(double x) {
    std::uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

double fromBits(std::uint64_t u) {
    double x;
    std::memcpy(&x, &u, sizeof x);
    return x;
}

// Index of the first value whose lane result differs from the scalar one; -1 if none.
long firstDifference(std::vector<double> x) {
    while (x.size() % 4 != 0) x.push_back(0.5);
    std::vector<double> lanes(x.size());
    powFiveProbe(x.data(), lanes.data(), static_cast<int>(x.size()));
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (bitsOf(lanes[i]) != bitsOf(maths::powFiveScalar(x[i]))) return static_cast<long>(i);
    }
    return -1;
}

TEST(VectorPow, RandomDoublesMatchTheScalarForm) {
    if (!available()) GTEST_SKIP() << "no FMA on this processor";
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> audio(-1.0, 1.0);
    std::vector<double> everywhere(1000000), audioSized(200000);
    for (double& x : everywhere) x = fromBits(random());
    for (double& x : audioSized) x = audio(random);
    long at = firstDifference(everywhere);
    EXPECT_EQ(at, -1) << std::hexfloat << everywhere[at < 0 ? 0 : at];
    at = firstDifference(audioSized);
    EXPECT_EQ(at, -1) << std::hexfloat << audioSized[at < 0 ? 0 : at];
}

TEST(VectorPow, EdgeClassesMatchTheScalarForm) {
    if (!available()) GTEST_SKIP() << "no FMA on this processor";
    using Limits = std::numeric_limits<double>;
    std::vector<double> edges = {0.0,
                                 -0.0,
                                 1.0,
                                 -1.0,
                                 Limits::infinity(),
                                 -Limits::infinity(),
                                 Limits::quiet_NaN(),
                                 -Limits::quiet_NaN(),
                                 Limits::signaling_NaN(),
                                 Limits::denorm_min(),
                                 -Limits::denorm_min(),
                                 Limits::min(),
                                 Limits::max(),
                                 -Limits::max()};
    // Every exponent, a few ulps either side of its power of two, both signs.
    for (int e = -1074; e <= 1023; ++e) {
        const double p = std::ldexp(1.0, e);
        for (double x : {p, std::nextafter(p, 0.0), std::nextafter(p, 4.0 * p)}) {
            edges.push_back(x);
            edges.push_back(-x);
        }
    }
    // Around the thresholds where x^5 overflows, underflows or turns subnormal.
    for (double threshold :
         {std::pow(Limits::max(), 0.2), std::pow(Limits::min(), 0.2),
          std::pow(Limits::denorm_min(), 0.2), std::exp(-102.4), std::exp(102.4)}) {
        double x = threshold;
        for (int k = 0; k < 2000; ++k) x = std::nextafter(x, 0.0);
        for (int k = 0; k < 4000; ++k, x = std::nextafter(x, Limits::infinity())) {
            edges.push_back(x);
            edges.push_back(-x);
        }
    }
    // Each side of every boundary between the logarithm's table rows, at a few exponents.
    for (std::uint64_t row = 0; row < 128; ++row) {
        for (std::int64_t octave : {-8, -1, 0, 1, 7}) {
            const std::uint64_t first =
                0x3fe6955500000000u + (row << 45) + (static_cast<std::uint64_t>(octave) << 52);
            for (std::uint64_t u : {first - 1, first, first + 1}) {
                edges.push_back(fromBits(u));
                edges.push_back(-fromBits(u));
            }
        }
    }
    const long at = firstDifference(edges);
    EXPECT_EQ(at, -1) << std::hexfloat << edges[at < 0 ? 0 : at];
}

}  // namespace
}  // namespace tovrel::dsp::vector
