// Options shared by the commands, and the steps every command takes with them.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "host/plugin.h"
#include "host/processing_session.h"

namespace tovrel {

struct GlobalOptions {
    std::string pluginPath;  // empty: Tovrel.so beside the executable
    bool quiet = false;
    CLI::Option* seedOption = nullptr;
    unsigned seed = 0;
};

struct SoundOptions {
    int blockSize = 512;
    std::string precision = "float";
    std::string bits;
    std::vector<std::string> settings;
    bool allowOutOfRange = false;
};

void addGlobalOptions(CLI::App& app, GlobalOptions& options);
void addSoundOptions(CLI::App& command, SoundOptions& options);

// A fresh instance of the chosen plug-in; seeds rand() first when --seed was given, so the
// plug-in's noise starts the same way on every run.
std::unique_ptr<Plugin> loadPlugin(const GlobalOptions& options);

// Applies --set values; every one is checked before any is applied.
void applySettings(Plugin& plugin, const std::vector<std::string>& settings, bool allowOutOfRange);

Precision precisionOf(const SoundOptions& options);

}  // namespace tovrel
