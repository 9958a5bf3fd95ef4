#include "noise_seeds.h"

#include <cerrno>
#include <cstdlib>

#include "frame/opcodes.h"
#include "host_error.h"

namespace tovrel {
namespace {

constexpr std::uint32_t kLowestSeed = 16385;

std::uint32_t parseSeed(const std::string& text, const std::string& whole) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || errno != 0 || *end != '\0' || value <= kLowestSeed || value > 0xffffffffull) {
        throw HostError("malformed noise seeds '" + whole +
                        "': use LEFT,RIGHT, two whole numbers from 16386 to 4294967295");
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

NoiseSeeds parseNoiseSeeds(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) parseSeed("", text);
    return {parseSeed(text.substr(0, comma), text), parseSeed(text.substr(comma + 1), text)};
}

bool setNoiseSeeds(Plugin& plugin, NoiseSeeds seeds) {
    std::uint32_t words[2] = {seeds.left, seeds.right};
    return plugin.dispatch(effVendorSpecific, fourCharCode('t', 'v', 'S', 'd'), 0, words) == 1;
}

}  // namespace tovrel
