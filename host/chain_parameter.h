// Parameters of a chain of plug-ins: "N:KEY" names member N, counted from 1; a bare KEY the
// first member that has it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plugin.h"

namespace tovrel {

struct ChainKey {
    std::size_t member = 0;  // from 0
    bool numbered = false;   // the text began with "N:"
    std::string rest;        // the text after "N:", or all of it
};

// Splits off a member number. Throws HostError for a number beyond the chain.
ChainKey splitChainKey(const std::vector<Plugin*>& chain, const std::string& text);

struct ChainParameter {
    std::size_t member = 0;
    VstInt32 index = 0;
};

// Throws HostError as findParameter does when no member has the parameter.
ChainParameter findChainParameter(const std::vector<Plugin*>& chain, const std::string& key);

}  // namespace tovrel
