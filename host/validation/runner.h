// Runs each check in a child process of its own, so a crash or a hang in the plug-in becomes a
// FAIL line and the run goes on.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "check.h"

namespace tovrel::validation {

struct CheckResult {
    std::string name;
    int level = 1;
    Outcome outcome;
    double seconds = 0.0;
};

// Runs one check in a forked child, killing it after `seconds`.
Outcome runIsolated(const Check& check, const CheckContext& context, double seconds);

// The checks enabled at the context's level and not skipped, in order; each result is handed
// to `onResult` as soon as it is known. When the plug-in cannot even be loaded, the checks after
// the loading one are skipped.
std::vector<CheckResult> runChecks(const std::vector<Check>& checks, const CheckContext& context,
                                   const std::set<std::string>& skip,
                                   const std::function<void(const CheckResult&)>& onResult);

// True when `name` is skipped by an entry: the full name or its family (the part before '.').
bool isSkipped(const std::string& name, const std::set<std::string>& skip);

// Where the check running in this child says what it is doing, so a crash can name the step.
void noteStep(const std::string& step);

}  // namespace tovrel::validation
