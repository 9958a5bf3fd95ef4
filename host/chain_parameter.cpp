#include "chain_parameter.h"

#include <cctype>

#include "host_error.h"
#include "parameter_lookup.h"

namespace tovrel {

ChainKey splitChainKey(const std::vector<Plugin*>& chain, const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 4) return {0, false, text};
    for (std::size_t i = 0; i < colon; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return {0, false, text};
    }
    const std::size_t number = std::stoul(text.substr(0, colon));
    if (number < 1 || number > chain.size()) {
        throw HostError("no plug-in " + std::to_string(number) + " in '" + text +
                        "': the chain has " + std::to_string(chain.size()));
    }
    return {number - 1, true, text.substr(colon + 1)};
}

ChainParameter findChainParameter(const std::vector<Plugin*>& chain, const std::string& key) {
    const ChainKey split = splitChainKey(chain, key);
    if (split.numbered) return {split.member, findParameter(*chain[split.member], split.rest)};
    std::string firstReason;  // the first member's, when none has the parameter
    for (std::size_t m = 0; m < chain.size(); ++m) {
        try {
            return {m, findParameter(*chain[m], key)};
        } catch (const HostError& e) {
            if (m == 0) firstReason = e.what();
        }
    }
    throw HostError(firstReason);
}

}  // namespace tovrel
