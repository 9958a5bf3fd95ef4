#include "tools/render_check/compare/report.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <set>

#include "tools/render_check/compare/case_diff.h"
#include "tools/render_check/compare/spawn.h"

namespace tovrel::render {
namespace {

constexpr int kMostDumps = 8;

std::string words(const std::vector<std::uint64_t>& row) {
    std::string text;
    for (std::uint64_t word : row) text += (text.empty() ? "" : ", ") + describeWord(word);
    return text.empty() ? "(nothing)" : text;
}

std::string hexWords(const std::vector<std::uint64_t>& row) {
    std::string text;
    char word[20];
    for (std::uint64_t w : row) {
        std::snprintf(word, sizeof word, " %016" PRIx64, w);
        text += word;
    }
    return text.empty() ? " (nothing)" : text;
}

std::vector<std::string> with(std::vector<std::string> command,
                              std::initializer_list<std::string> more) {
    command.insert(command.end(), more);
    return command;
}

std::vector<std::string> caseNames(const Comparison& c) {
    std::vector<std::string> names = c.theirs.order;
    std::set<std::string> seen(names.begin(), names.end());
    for (const std::string& name : c.ours.order) {
        if (seen.insert(name).second) names.push_back(name);
    }
    return names;
}

const CaseDigest* find(const DigestFile& file, const std::string& name) {
    const auto it = file.cases.find(name);
    return it == file.cases.end() ? nullptr : &it->second;
}

void printCaseLine(const std::string& name, const CaseDiff& diff) {
    switch (diff.kind) {
        case CaseDiff::Match:
            std::printf("  match     %s\n", name.c_str());
            break;
        case CaseDiff::Missing:
            std::printf("  MISMATCH  %s: rendered by one build only\n", name.c_str());
            break;
        case CaseDiff::Incomplete:
            std::printf("  MISMATCH  %s: a render stopped early\n", name.c_str());
            break;
        case CaseDiff::Output:
            std::printf("  MISMATCH  %s: outputs differ from chunk %d on\n", name.c_str(),
                        diff.firstChunk);
            break;
        case CaseDiff::State: {
            std::string fields;
            for (const std::string& f : diff.states) fields += " " + f;
            std::printf("  MISMATCH  %s: outputs agree, final state differs in%s\n", name.c_str(),
                        fields.c_str());
            break;
        }
    }
}

// Renders the first differing chunk of each case again on both sides, frame by frame.
void locateFrames(const Comparison& c, const std::vector<std::pair<std::string, CaseDiff>>& cases) {
    std::vector<std::vector<std::string>> commands;
    std::vector<long> firsts;
    for (const auto& [name, diff] : cases) {
        const long frames = find(c.theirs, name)->chunkFrames;
        const long first = diff.firstChunk * frames;
        for (const auto* side : {&c.reference, &c.local}) {
            commands.push_back(
                with(*side, {"--dump", name, std::to_string(first), std::to_string(frames)}));
        }
        firsts.push_back(first);
    }
    const std::vector<RunResult> runs = runAll(commands);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const RowDiff row = firstRowDiff(parseIndexedWords(runs[2 * i].output, "frame"),
                                         parseIndexedWords(runs[2 * i + 1].output, "frame"));
        if (row.index < 0) continue;
        std::printf(
            "    %s: first difference at frame %ld (left, right); %d frames of its chunk differ\n"
            "      PowerPC: %s\n      here:    %s\n",
            cases[i].first.c_str(), row.index, row.differingRows, words(row.reference).c_str(),
            words(row.ours).c_str());
    }
}

void compareCases(const Comparison& c, Findings& f) {
    std::printf("cases (this build against the PowerPC reference):\n");
    std::vector<std::pair<std::string, CaseDiff>> outputDiffs;
    for (const std::string& name : caseNames(c)) {
        const CaseDiff diff = compareCase(find(c.theirs, name), find(c.ours, name));
        printCaseLine(name, diff);
        ++f.cases;
        if (diff.kind == CaseDiff::Match) ++f.matching;
        if (diff.kind == CaseDiff::Output && outputDiffs.size() < kMostDumps)
            outputDiffs.emplace_back(name, diff);
    }
    f.renderDiffers = f.matching != f.cases;
    if (!outputDiffs.empty()) locateFrames(c, outputDiffs);
}

// The shipped plug-in files are compared on their outputs, against the linked-in reference.
void compareModules(const Comparison& c, Findings& f) {
    if (c.ourModule.order.empty() && c.theirModule.order.empty()) return;
    std::printf("plug-in files (outputs only, against the linked-in PowerPC render):\n");
    for (const auto* side : {&c.theirModule, &c.ourModule}) {
        const char* who = side == &c.theirModule ? "PowerPC" : "this build's";
        for (const std::string& name : side->order) {
            const CaseDiff diff = compareCase(find(c.theirs, name), find(*side, name));
            std::printf("  %-9s %s plug-in file, %s\n",
                        diff.kind == CaseDiff::Match ? "match" : "MISMATCH", who, name.c_str());
            if (diff.kind != CaseDiff::Match) f.renderDiffers = true;
        }
    }
}

void explainProbe(const Comparison& c, const std::string& name, const std::string& kind) {
    const auto runs = runAll({with(c.reference, {"--probe-samples", name, "0", "1000000"}),
                              with(c.local, {"--probe-samples", name, "0", "1000000"})});
    const RowDiff row = firstRowDiff(parseIndexedWords(runs[0].output, "sample"),
                                     parseIndexedWords(runs[1].output, "sample"));
    std::printf(
        "  DIFFERS   %s (%s): %d samples differ; the first is sample %ld, as arguments "
        "-> results\n      PowerPC:%s\n      here:   %s\n",
        name.c_str(), kind.c_str(), row.differingRows, row.index, hexWords(row.reference).c_str(),
        hexWords(row.ours).c_str());
}

void compareProbes(const Comparison& c, Findings& f) {
    std::printf("probes (arguments -> results):\n");
    for (const auto& [name, theirs] : c.theirProbes.probes) {
        const auto ours = c.ourProbes.probes.find(name);
        if (ours != c.ourProbes.probes.end() && ours->second.hash == theirs.hash) {
            std::printf("  match     %s (%s)\n", name.c_str(), theirs.kind.c_str());
            continue;
        }
        if (theirs.kind == "maths") f.mathsDiffers = true;
        if (theirs.kind == "routine") f.routineDiffers = true;
        if (theirs.kind == "operator") f.operatorDiffers = true;
        explainProbe(c, name, theirs.kind);
    }
}

}  // namespace

Verdict judge(const Findings& f) {
    std::printf("render comparison: %d of %d cases match\n", f.matching, f.cases);
    const bool arithmetic = f.routineDiffers || f.operatorDiffers;
    if (!f.renderDiffers && !f.mathsDiffers && !arithmetic) {
        std::printf("verdict: bit for bit identical to the PowerPC reference\n");
        return Verdict::Match;
    }
    if (f.routineDiffers) {
        std::printf(
            "verdict: our double-double emulation disagrees with the PowerPC runtime "
            "routines called with the same operands (see the routine probes)\n");
    } else if (f.operatorDiffers) {
        std::printf(
            "verdict: the runtime routines agree, but DoubleDouble's operators do not: the "
            "PowerPC compiler treats long double + and * as commutative and passes some "
            "operands to the routines the other way round, whose low words then differ "
            "(see the operator probes)\n");
    }
    if (f.mathsDiffers) {
        std::printf(
            "verdict: a maths probe differs between the builds (see above); pow, tan and the "
            "dither's powers of two are our own, so a difference there points at this "
            "target's fma\n");
    } else if (!arithmetic) {
        std::printf(
            "verdict: neither the maths library nor the arithmetic probes differ, so the "
            "first difference arises in our code (the order or precision of an operation) "
            "or in arithmetic on operands the probes do not reach\n");
    }
    return Verdict::Differs;
}

std::string describeWord(std::uint64_t word) {
    char text[64];
    if (word <= 0xffffffffu) {
        const std::uint32_t bits = static_cast<std::uint32_t>(word);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        std::snprintf(text, sizeof text, "%08" PRIx32 " (%.9g)", bits, value);
    } else {
        double value = 0.0;
        std::memcpy(&value, &word, sizeof value);
        std::snprintf(text, sizeof text, "%016" PRIx64 " (%.17g)", word, value);
    }
    return text;
}

Verdict report(const Comparison& comparison) {
    Findings findings;
    compareCases(comparison, findings);
    compareModules(comparison, findings);
    compareProbes(comparison, findings);
    return judge(findings);
}

}  // namespace tovrel::render
