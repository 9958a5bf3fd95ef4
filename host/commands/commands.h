// The three commands of tovrel. Each registers its options, then runs when chosen; errors
// leave as HostError for main to print.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "options.h"

namespace tovrel {

struct DemoCommand {
    CLI::App* app = nullptr;
    std::string output = "demo.wav";
    SoundOptions sound;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

struct RenderCommand {
    CLI::App* app = nullptr;
    std::string input;
    std::string output;
    SoundOptions sound;
    double tailSeconds = 0.0;
    std::string presetIn;
    std::string presetOut;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

struct InfoCommand {
    CLI::App* app = nullptr;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

struct ValidateCommand {
    CLI::App* app = nullptr;
    std::string plugin;
    int level = 5;
    unsigned seed = 1;
    double timeScale = 1.0;
    std::string jsonPath;
    std::string junitPath;
    std::vector<std::string> skip;

    void add(CLI::App& parent);
    int run();  // the exit status: 0 nothing failed, 1 something failed
};

}  // namespace tovrel
