// Runs `tovrel validate` as a user does and reads back its JSON report.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace tovrel::validation::test {

struct ValidatorRun {
    int status = -1;        // the exit status, or -1 when the validator itself died
    std::string output;     // its standard output
    nlohmann::json report;  // the --json file
};

inline ValidatorRun validate(const std::string& plugin, const std::string& arguments) {
    char folder[] = "/tmp/tovrel-validate-XXXXXX";
    if (mkdtemp(folder) == nullptr) throw std::runtime_error("mkdtemp failed");
    const std::string json = std::string(folder) + "/report.json";
    const std::string command = std::string(TOVREL_EXE) + " validate '" + plugin + "' " +
                                arguments + " --json " + json + " 2>/dev/null";
    ValidatorRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream file(json);
    if (file) run.report = nlohmann::json::parse(file);
    std::remove(json.c_str());
    rmdir(folder);
    return run;
}

// The verdict and detail of one check in a report; verdict "missing" when it did not run.
inline std::pair<std::string, std::string> verdictOf(const ValidatorRun& run,
                                                     const std::string& name) {
    if (run.report.contains("checks")) {
        for (const auto& check : run.report["checks"]) {
            if (check["name"] == name) return {check["verdict"], check["detail"]};
        }
    }
    return {"missing", ""};
}

}  // namespace tovrel::validation::test
