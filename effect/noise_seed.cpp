#include "effect/noise_seed.h"

#include <cstdlib>

namespace tovrel {

std::uint32_t drawNoiseSeed() {
    std::uint32_t seed = 1;
    // Only a zero draw repeats: any positive rand() result times 2^32 - 1 wraps above 2^31.
    while (seed <= 16385) seed = static_cast<std::uint32_t>(std::rand()) * 4294967295u;
    return seed;
}

}  // namespace tovrel
