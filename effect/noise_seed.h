// Noise-state seeding from the C library's generator; never seeds the generator itself, so
// the values follow the process's earlier use of rand().
#pragma once

#include <cstdint>

namespace tovrel {

std::uint32_t drawNoiseSeed();

}  // namespace tovrel
