// The run's results as the terminal line per check, as JSON and as JUnit XML.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runner.h"

namespace tovrel::validation {

struct RunInfo {
    std::string pluginPath;
    int level = kDefaultLevel;
    std::uint32_t seed = 1;
};

// "FAIL  state.round-trip  expected ..., seen ..." without the newline.
std::string resultLine(const CheckResult& result);

std::string jsonReport(const RunInfo& run, const std::vector<CheckResult>& results);
std::string junitReport(const RunInfo& run, const std::vector<CheckResult>& results);

int countOf(const std::vector<CheckResult>& results, Verdict verdict);

}  // namespace tovrel::validation
