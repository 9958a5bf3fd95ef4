// Turns two sets of render and probe digests into a per-case report, runs the extra dumps that
// locate the first difference, and judges where a difference comes from.
#pragma once

#include <string>
#include <vector>

#include "tools/render_check/compare/digest_file.h"

namespace tovrel::render {

struct Comparison {
    std::vector<std::string> local, reference;  // commands, for the follow-up dumps
    DigestFile ours, theirs;                    // the linked-in renders
    DigestFile ourProbes, theirProbes;
    DigestFile ourModule, theirModule;  // renders of the plug-in files (may be empty)
};

enum class Verdict { Match, Differs };

Verdict report(const Comparison& comparison);

struct Findings {
    int cases = 0, matching = 0;
    bool renderDiffers = false;
    bool mathsDiffers = false;     // a maths-library probe
    bool routineDiffers = false;   // a runtime routine called in written order
    bool operatorDiffers = false;  // a DoubleDouble operator as the signal path uses it
};

// Prints the verdict. On a CPU without FMA every difference but our arithmetic's is excused:
// x86-64 glibc's maths functions then differ from PowerPC's.
Verdict judge(const Findings& findings);

// A word as hex and as the float or double it holds (floats arrive in the low 32 bits).
std::string describeWord(std::uint64_t word);

}  // namespace tovrel::render
