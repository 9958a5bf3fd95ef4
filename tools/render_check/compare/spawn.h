// Runs programs side by side and collects what each prints.
#pragma once

#include <string>
#include <vector>

namespace tovrel::render {

struct RunResult {
    std::string output;  // standard output; standard error passes through to ours
    int status = -1;     // exit status, or 128 + signal number
};

// Starts every command at once and waits for all of them.
std::vector<RunResult> runAll(const std::vector<std::vector<std::string>>& commands);

}  // namespace tovrel::render
