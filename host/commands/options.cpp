#include "options.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "host/chain_parameter.h"
#include "host/host_error.h"
#include "host/noise_seeds.h"
#include "host/parameter_lookup.h"
#include "host/plugin_search.h"

namespace tovrel {
namespace fs = std::filesystem;
namespace {

std::string besideExecutable(const std::string& file) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return file;
    std::string executable(path, static_cast<std::size_t>(length));
    return executable.substr(0, executable.rfind('/') + 1) + file;
}

// Tovrel.so beside tovrel in a build folder, or where an install put it.
std::string defaultPlugin() {
    const std::string beside = besideExecutable("Tovrel.so");
    const std::string installed = besideExecutable("../lib/vst/Tovrel.so");
    for (const std::string& path : {beside, installed}) {
        if (access(path.c_str(), F_OK) == 0) return fs::path(path).lexically_normal().string();
    }
    throw HostError("no plug-in at '" + beside + "' or '" + installed +
                    "': build Tovrel.so or pass --plugin PATH");
}

}  // namespace

void addGlobalOptions(CLI::App& app, GlobalOptions& options) {
    // One value per --plugin, so files named after it stay positional arguments.
    app.add_option("--plugin", options.pluginPaths,
                   "VST 2.4 plug-in: a path, or a name looked up in VST_PATH, LXVST_PATH, ~/.vst, "
                   "/usr/local/lib/vst, /usr/lib/vst (default: Tovrel.so beside tovrel or in "
                   "../lib/vst); render takes several, a chain in the order given")
        ->allow_extra_args(false);
    app.add_flag("-q,--quiet", options.quiet, "no progress bar");
    app.add_option("--noise-seeds", options.noiseSeeds,
                   "LEFT,RIGHT: the dither's seeds, for plug-ins that take them (default "
                   "2490677913,3448036410, what an unseeded glibc process draws)");
}

void addSoundOptions(CLI::App& command, SoundOptions& options) {
    command.add_option("--block", options.blockSize, "block size in frames (default 512)")
        ->check(CLI::Range(1, 1 << 20));
    command.add_option("--precision", options.precision, "float or double (default float)")
        ->check(CLI::IsMember({"float", "double"}));
    command.add_option("--bits", options.bits, "output samples: 16, 24, 32f or 64f")
        ->check(CLI::IsMember({"16", "24", "32f", "64f"}));
    // One value per --set, so files named after it stay positional arguments.
    command
        .add_option("--set", options.settings,
                    "NAME=VALUE or INDEX=VALUE, a normalised 0 to 1 value (repeatable)")
        ->allow_extra_args(false);
    command.add_flag("--allow-out-of-range", options.allowOutOfRange,
                     "accept --set values outside 0 to 1");
}

namespace {

std::unique_ptr<Plugin> loadOne(const std::string& name, const GlobalOptions& options) {
    const std::string path =
        name.empty() ? defaultPlugin()
                     : resolvePlugin(name, searchFolders(SearchEnvironment::fromProcess()));
    const NoiseSeeds seeds = noiseSeedsOf(options);
    auto plugin = Plugin::open(path);
    setNoiseSeeds(*plugin, seeds);
    return plugin;
}

}  // namespace

std::unique_ptr<Plugin> loadPlugin(const GlobalOptions& options) {
    if (options.pluginPaths.size() > 1) {
        throw HostError("this command takes one --plugin; only render takes a chain");
    }
    return loadOne(options.pluginPaths.empty() ? "" : options.pluginPaths[0], options);
}

std::vector<std::unique_ptr<Plugin>> loadChain(const GlobalOptions& options) {
    std::vector<std::unique_ptr<Plugin>> chain;
    if (options.pluginPaths.empty()) chain.push_back(loadOne("", options));
    for (const std::string& path : options.pluginPaths) chain.push_back(loadOne(path, options));
    return chain;
}

NoiseSeeds noiseSeedsOf(const GlobalOptions& options) {
    return parseNoiseSeeds(options.noiseSeeds);
}

void applySettings(Plugin& plugin, const std::vector<std::string>& settings, bool allowOutOfRange) {
    std::vector<ParameterAssignment> assignments;
    for (const std::string& text : settings) {
        assignments.push_back(parseAssignment(plugin, text, allowOutOfRange));
    }
    for (const ParameterAssignment& assignment : assignments) {
        plugin.setParameter(assignment.index, assignment.value);
    }
}

void applySettings(const std::vector<Plugin*>& chain, const std::vector<std::string>& settings,
                   bool allowOutOfRange) {
    std::vector<std::pair<Plugin*, ParameterAssignment>> assignments;
    for (const std::string& text : settings) {
        const ChainKey key = splitChainKey(chain, text);
        Plugin* plugin = chain[key.member];
        if (!key.numbered) {
            const auto equals = text.rfind('=');
            const std::string name = equals == std::string::npos ? text : text.substr(0, equals);
            plugin = chain[findChainParameter(chain, name).member];
        }
        assignments.emplace_back(plugin, parseAssignment(*plugin, key.rest, allowOutOfRange));
    }
    for (const auto& [plugin, assignment] : assignments) {
        plugin->setParameter(assignment.index, assignment.value);
    }
}

Precision precisionOf(const SoundOptions& options) {
    return options.precision == "double" ? Precision::Double : Precision::Single;
}

}  // namespace tovrel
