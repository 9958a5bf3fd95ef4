#include "tools/render_check/compare/case_diff.h"

#include <algorithm>

namespace tovrel::render {

CaseDiff compareCase(const CaseDigest* reference, const CaseDigest* ours) {
    CaseDiff diff;
    if (reference == nullptr || ours == nullptr) {
        diff.kind = CaseDiff::Missing;
        return diff;
    }
    if (!reference->complete || !ours->complete) {
        diff.kind = CaseDiff::Incomplete;
        return diff;
    }
    const std::size_t chunks = std::max(reference->chunks.size(), ours->chunks.size());
    for (std::size_t k = 0; k < chunks; ++k) {
        if (k >= reference->chunks.size() || k >= ours->chunks.size() ||
            reference->chunks[k] != ours->chunks[k]) {
            diff.kind = CaseDiff::Output;
            diff.firstChunk = static_cast<int>(k);
            return diff;
        }
    }
    if (!reference->states.empty() && !ours->states.empty()) {
        const std::size_t fields = std::max(reference->states.size(), ours->states.size());
        for (std::size_t i = 0; i < fields; ++i) {
            if (i >= reference->states.size() || i >= ours->states.size()) {
                diff.states.push_back("(field count)");
                break;
            }
            if (reference->states[i] != ours->states[i]) {
                diff.states.push_back(reference->states[i].first);
            }
        }
        if (reference->noise != ours->noise) diff.states.push_back("fpdL/fpdR");
    }
    if (!diff.states.empty()) diff.kind = CaseDiff::State;
    return diff;
}

RowDiff firstRowDiff(const std::map<long, std::vector<std::uint64_t>>& reference,
                     const std::map<long, std::vector<std::uint64_t>>& ours) {
    RowDiff diff;
    auto consider = [&](long index) {
        const auto r = reference.find(index);
        const auto o = ours.find(index);
        const std::vector<std::uint64_t> none;
        const auto& rw = r == reference.end() ? none : r->second;
        const auto& ow = o == ours.end() ? none : o->second;
        if (rw == ow) return;
        ++diff.differingRows;
        if (diff.index < 0 || index < diff.index) {
            diff.index = index;
            diff.reference = rw;
            diff.ours = ow;
        }
    };
    for (const auto& row : reference) consider(row.first);
    for (const auto& row : ours) {
        if (reference.count(row.first) == 0) consider(row.first);
    }
    return diff;
}

}  // namespace tovrel::render
