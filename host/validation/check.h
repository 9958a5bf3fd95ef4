// A named check, the level from which it runs, and what it is given.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "outcome.h"

namespace tovrel::validation {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 10;
constexpr int kDefaultLevel = 5;

struct CheckContext {
    std::string pluginPath;
    std::uint32_t seed = 1;
    int level = kDefaultLevel;
    double timeScale = 1.0;  // multiplies every check's time limit
};

struct Check {
    std::string name;       // family.what, e.g. "state.round-trip"
    int level = 1;          // runs at this level and above; cheap checks come first
    double seconds = 30.0;  // time limit before the child is killed
    std::function<Outcome(const CheckContext&)> run;
};

// Every check of every family, in the order they run.
std::vector<Check> allChecks();

// One family each, in their own files.
void addLoadingChecks(std::vector<Check>& checks);
void addTextChecks(std::vector<Check>& checks);
void addRangeChecks(std::vector<Check>& checks);
void addProgramChecks(std::vector<Check>& checks);
void addStateChecks(std::vector<Check>& checks);
void addProcessingChecks(std::vector<Check>& checks);
void addNumericChecks(std::vector<Check>& checks);
void addDeterminismChecks(std::vector<Check>& checks);
void addRealtimeChecks(std::vector<Check>& checks);
void addThreadChecks(std::vector<Check>& checks);

}  // namespace tovrel::validation
