// Sweeps pow(x, 5.0) over many inputs against the system's own pow and prints how many differ:
// a longer check than the unit tests can afford. Inputs cycle through every bit pattern, the
// exponents where the result is finite and nonzero, and audio-like values in [-1.5, 1.5].
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "effect/dsp/maths/bits.h"
#include "effect/dsp/maths/pow_five.h"
#include "effect/dsp/maths/pow_five_scalar.h"
#include "tests/dsp/maths/test_sequences.h"

namespace {

using namespace tovrel::dsp::maths;

volatile double systemExponent = 5.0;  // every call goes to the library

double draw(test::SplitMix64& random, std::uint64_t i) {
    const std::uint64_t u = random.next();
    switch (i % 3) {
        case 0:
            return fromBits(u);
        case 1:  // exponents 2^-310 to 2^310
            return fromBits((u & 0x800fffffffffffffu) | ((713 + (u >> 52) % 621) << 52));
        default:
            return (static_cast<double>(u >> 11) * 0x1p-53 - 0.5) * 3.0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000000u;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261206u;
    const double exponent = systemExponent;
    test::SplitMix64 random(seed);
    std::uint64_t mismatches = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t i = 0; i < count; ++i) {
        const double x = draw(random, i);
        const std::uint64_t ours = bitsOf(powFive(x)), system = bitsOf(std::pow(x, exponent));
        const bool scalarAgrees = bitsOf(powFiveScalar(x)) == ours;  // the portable path's call
        if ((ours != system || !scalarAgrees) && ++mismatches <= 10) {
            std::printf("x %016" PRIx64 ": ours %016" PRIx64 ", system %016" PRIx64 "\n", bitsOf(x),
                        ours, system);
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("pow(x, 5.0): %" PRIu64 " inputs, %" PRIu64
                " mismatches against the system, %.1f s\n",
                count, mismatches, took.count());
    return mismatches == 0 ? 0 : 1;
}
