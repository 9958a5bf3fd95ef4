// The dither seeds a plug-in draws from the C library's rand() differ between systems. A plug-in
// that answers the 'tvSd' vendor request takes them from the host instead, so that the same
// render gives the same bytes everywhere.
#pragma once

#include <cstdint>
#include <string>

#include "plugin.h"

namespace tovrel {

struct NoiseSeeds {
    std::uint32_t left, right;
};

// The first two draws of a glibc process that never seeded rand(): what a Linux host gets.
constexpr NoiseSeeds kDefaultNoiseSeeds{2490677913u, 3448036410u};

// "LEFT,RIGHT", each above 16385. Throws HostError otherwise.
NoiseSeeds parseNoiseSeeds(const std::string& text);

// Answers whether the plug-in took them; one that does not know the request ignores it.
bool setNoiseSeeds(Plugin& plugin, NoiseSeeds seeds);

}  // namespace tovrel
