#include <unistd.h>

#include <cstdio>
#include <memory>
#include <set>

#include "commands.h"
#include "host/atomic_file.h"
#include "host/host_error.h"
#include "host/validation/report.h"
#include "host/validation/runner.h"

namespace tovrel {
namespace {

std::set<std::string> skipList(const std::vector<std::string>& entries,
                               const std::vector<validation::Check>& checks) {
    std::set<std::string> skip;
    for (const std::string& entry : entries) {
        bool known = false;
        for (const validation::Check& check : checks) {
            known = known || validation::isSkipped(check.name, {entry});
        }
        if (!known)
            throw CLI::ValidationError("--skip", "no check or family named '" + entry + "'");
        skip.insert(entry);
    }
    return skip;
}

// Opened before the run, so an unwritable report path fails before any work.
std::unique_ptr<AtomicFile> reportFile(const std::string& path) {
    return path.empty() ? nullptr : std::make_unique<AtomicFile>(path);
}

void writeReport(std::unique_ptr<AtomicFile>& file, const std::string& text) {
    if (!file) return;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(file->descriptor(), text.data() + done, text.size() - done);
        if (wrote <= 0) throw HostError("cannot write " + file->target());
        done += static_cast<std::size_t>(wrote);
    }
    file->commit();
}

}  // namespace

void ValidateCommand::add(CLI::App& parent) {
    app = parent.add_subcommand("validate", "check any VST 2.4 plug-in as a host would");
    app->add_option("plugin", plugin, "the plug-in's .so file")->required();
    app->add_option("--level", level, "1 (quick) to 10 (everything); default 5")
        ->check(CLI::Range(validation::kMinLevel, validation::kMaxLevel));
    app->add_option("--seed", seed, "seed of the test signals and random values (default 1)");
    // For the validator's own tests, which wait for hangs on purpose.
    app->add_option("--time-scale", timeScale)->check(CLI::Range(0.01, 100.0))->group("");
    app->add_option("--json", jsonPath, "also write the results as JSON");
    app->add_option("--junit", junitPath, "also write the results as JUnit XML");
    app->add_option("--skip", skip, "checks or families to skip, e.g. threads,state.save-loop")
        ->delimiter(',');
}

int ValidateCommand::run() {
    if (access(plugin.c_str(), F_OK) != 0) {
        throw CLI::ValidationError("plugin", "no file at '" + plugin + "'");
    }
    auto json = reportFile(jsonPath);
    auto junit = reportFile(junitPath);
    const std::vector<validation::Check> checks = validation::allChecks();
    const validation::CheckContext context{plugin, static_cast<std::uint32_t>(seed), level,
                                           timeScale};
    const auto results = validation::runChecks(
        checks, context, skipList(skip, checks), [](const validation::CheckResult& result) {
            std::printf("%s\n", validation::resultLine(result).c_str());
            std::fflush(stdout);
        });
    const validation::RunInfo info{plugin, level, static_cast<std::uint32_t>(seed)};
    writeReport(json, validation::jsonReport(info, results));
    writeReport(junit, validation::junitReport(info, results));
    const int failures = validation::countOf(results, validation::Verdict::Fail);
    std::printf("%d passed, %d warnings, %d skipped, %d failed\n",
                validation::countOf(results, validation::Verdict::Pass) +
                    validation::countOf(results, validation::Verdict::Info),
                validation::countOf(results, validation::Verdict::Warn),
                validation::countOf(results, validation::Verdict::Skip), failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace tovrel
