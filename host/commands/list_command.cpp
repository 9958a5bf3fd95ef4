#include <algorithm>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "commands.h"
#include "host/four_char.h"
#include "host/plugin_probe.h"
#include "host/plugin_search.h"

namespace tovrel {
namespace {

constexpr int kProbesAtOnce = 4;

std::string idText(VstInt32 id) {
    return fourCharText(id) + " (" + std::to_string(id) + ")";
}

void printTable(const std::vector<PluginSummary>& found) {
    std::vector<std::vector<std::string>> rows{{"NAME", "VENDOR", "ID", "IN/OUT", "PATH"}};
    for (const PluginSummary& s : found) {
        if (!s.loaded) continue;
        rows.push_back({s.name, s.vendor, idText(s.uniqueId),
                        std::to_string(s.inputs) + "/" + std::to_string(s.outputs), s.path});
    }
    std::size_t width[4] = {0, 0, 0, 0};
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < 4; ++i) width[i] = std::max(width[i], row[i].size());
    }
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < 4; ++i) {
            std::printf("%-*s  ", static_cast<int>(width[i]), row[i].c_str());
        }
        std::printf("%s\n", row[4].c_str());
    }
    std::printf("%zu plug-ins\n", rows.size() - 1);
    for (const PluginSummary& s : found) {
        if (!s.loaded) std::printf("not listed: %s: %s\n", s.path.c_str(), s.problem.c_str());
    }
}

void printJson(const std::vector<PluginSummary>& found) {
    nlohmann::json plugins = nlohmann::json::array(), problems = nlohmann::json::array();
    for (const PluginSummary& s : found) {
        if (s.loaded) {
            plugins.push_back({{"name", s.name},
                               {"vendor", s.vendor},
                               {"id", s.uniqueId},
                               {"idText", fourCharText(s.uniqueId)},
                               {"inputs", s.inputs},
                               {"outputs", s.outputs},
                               {"path", s.path}});
        } else {
            problems.push_back({{"path", s.path}, {"problem", s.problem}});
        }
    }
    const nlohmann::json listing{{"plugins", plugins}, {"problems", problems}};
    // Names come from plug-ins: replace bytes that are not UTF-8 rather than fail.
    std::printf("%s\n",
                listing.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

}  // namespace

void ListCommand::add(CLI::App& parent) {
    app = parent.add_subcommand(
        "list", "list the VST 2.4 plug-ins in VST_PATH, LXVST_PATH and the usual folders");
    app->add_flag("--json", json, "machine-readable output");
    app->add_option("--timeout", timeoutSeconds,
                    "seconds a plug-in may take to load before it is left out (default 10)")
        ->check(CLI::Range(0.01, 3600.0));
}

void ListCommand::run(const GlobalOptions& /*global*/) {
    const auto files = pluginFiles(searchFolders(SearchEnvironment::fromProcess()));
    const auto limit = std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    const auto found = probePlugins(files, limit, kProbesAtOnce);
    if (json) {
        printJson(found);
    } else {
        printTable(found);
    }
}

}  // namespace tovrel
