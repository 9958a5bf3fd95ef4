// Options shared by the commands, and the steps every command takes with them.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "host/noise_seeds.h"
#include "host/plugin.h"
#include "host/processing_session.h"

namespace tovrel {

struct GlobalOptions {
    // Each --plugin in chain order; none: Tovrel.so beside the executable.
    std::vector<std::string> pluginPaths;
    bool quiet = false;
    std::string noiseSeeds = "2490677913,3448036410";
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

// A fresh instance of the chosen plug-in with the --noise-seeds given to it (a plug-in that
// does not take them keeps its own), so the same command renders the same bytes everywhere.
std::unique_ptr<Plugin> loadPlugin(const GlobalOptions& options);
// Every --plugin, in order, each loaded as loadPlugin loads one. Commands that take a single
// plug-in refuse more than one.
std::vector<std::unique_ptr<Plugin>> loadChain(const GlobalOptions& options);

// The --noise-seeds handed to every instance. Throws HostError when malformed.
NoiseSeeds noiseSeedsOf(const GlobalOptions& options);

// Applies --set values; every one is checked before any is applied.
void applySettings(Plugin& plugin, const std::vector<std::string>& settings, bool allowOutOfRange);
// The same across a chain: "N:KEY=VALUE" sets member N (from 1), a bare key the first member
// that has that parameter.
void applySettings(const std::vector<Plugin*>& chain, const std::vector<std::string>& settings,
                   bool allowOutOfRange);

Precision precisionOf(const SoundOptions& options);

}  // namespace tovrel
