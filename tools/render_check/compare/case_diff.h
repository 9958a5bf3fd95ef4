// What differs between two digests of one case, and the first differing row of two dumps.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/render_check/compare/digest_file.h"

namespace tovrel::render {

struct CaseDiff {
    enum Kind { Match, Missing, Incomplete, Output, State } kind = Match;
    int firstChunk = -1;              // Output: the first chunk whose hash differs
    std::vector<std::string> states;  // State: the fields that differ (noise included)
};

// Outputs are checked first: a state difference matters only while the outputs agree. State
// lines present on one side only (a plug-in file render has none) are not compared.
CaseDiff compareCase(const CaseDigest* reference, const CaseDigest* ours);

struct RowDiff {
    long index = -1;  // -1: no row differs
    std::vector<std::uint64_t> reference, ours;
    int differingRows = 0;
};

// The first index whose words differ, or that one side lacks.
RowDiff firstRowDiff(const std::map<long, std::vector<std::uint64_t>>& reference,
                     const std::map<long, std::vector<std::uint64_t>>& ours);

}  // namespace tovrel::render
