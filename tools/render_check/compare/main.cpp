// tovrel_render_compare: renders the suite with this machine's build and with the PowerPC
// reference build (under qemu), compares the digests case by case and the probes of the maths
// library and the double-double arithmetic, and says where the first difference arises.
//
//   tovrel_render_compare [--shards N] [--require PATH]
//                         [--local-plugin PATH --reference-plugin PATH]
//                         LOCAL_COMMAND... -- REFERENCE_COMMAND...
//
// Both commands are tovrel_render (or anything that answers like it); the reference is split
// into N shards run side by side. --require names a file without which there is nothing to
// compare against (the PowerPC program).
// Exit status: 0 all match; 1 something differs; 77 nothing to compare against.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tools/render_check/compare/case_diff.h"
#include "tools/render_check/compare/digest_file.h"
#include "tools/render_check/compare/report.h"
#include "tools/render_check/compare/spawn.h"

namespace tovrel::render {
namespace {

constexpr int kSkip = 77;

struct Options {
    int shards = 2;
    std::string required, localPlugin, referencePlugin;
    std::vector<std::string> local, reference;
};

[[noreturn]] void usage(const char* problem) {
    std::fprintf(stderr, "tovrel_render_compare: %s (see tools/render_check/compare/main.cpp)\n",
                 problem);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    int i = 1;
    for (; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string arg = argv[i];
        if (i + 1 < argc && arg == "--shards") {
            o.shards = std::atoi(argv[++i]);
        } else if (i + 1 < argc && arg == "--require") {
            o.required = argv[++i];
        } else if (i + 1 < argc && arg == "--local-plugin") {
            o.localPlugin = argv[++i];
        } else if (i + 1 < argc && arg == "--reference-plugin") {
            o.referencePlugin = argv[++i];
        } else {
            o.local.push_back(arg);
        }
    }
    for (++i; i < argc; ++i) o.reference.push_back(argv[i]);
    if (o.local.empty() || o.reference.empty() || o.shards < 1) usage("bad arguments");
    return o;
}

std::vector<std::string> with(std::vector<std::string> command,
                              std::initializer_list<std::string> more) {
    command.insert(command.end(), more);
    return command;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

int compareBuilds(const Options& o) {
    if (!o.required.empty() && !exists(o.required)) {
        std::printf("SKIPPED: no PowerPC render program at %s; run scripts/ppc-check\n",
                    o.required.c_str());
        return kSkip;
    }
    const bool modules = !o.localPlugin.empty() && !o.referencePlugin.empty();
    std::vector<std::vector<std::string>> commands{with(o.local, {}), with(o.local, {"--probes"}),
                                                   with(o.reference, {"--probes"})};
    for (int s = 0; s < o.shards; ++s) {
        commands.push_back(
            with(o.reference, {"--shard", std::to_string(s) + "/" + std::to_string(o.shards)}));
    }
    if (modules) {
        commands.push_back(with(o.local, {"--plugin", o.localPlugin, "--shard", "0/4"}));
        commands.push_back(with(o.reference, {"--plugin", o.referencePlugin, "--shard", "0/4"}));
    }
    const std::vector<RunResult> runs = runAll(commands);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].status != 0) {
            std::printf("FAILED: %s ... exited with status %d\n", commands[i].front().c_str(),
                        runs[i].status);
            return 1;
        }
    }
    std::string referenceText;
    for (int s = 0; s < o.shards; ++s) referenceText += runs[3 + s].output;
    Comparison comparison;
    comparison.local = o.local;
    comparison.reference = o.reference;
    comparison.ours = parseDigest(runs[0].output);
    comparison.theirs = parseDigest(referenceText);
    comparison.ourProbes = parseDigest(runs[1].output);
    comparison.theirProbes = parseDigest(runs[2].output);
    if (modules) {
        comparison.ourModule = parseDigest(runs[3 + o.shards].output);
        comparison.theirModule = parseDigest(runs[4 + o.shards].output);
    }
    return report(comparison) == Verdict::Match ? 0 : 1;
}

}  // namespace tovrel::render

int main(int argc, char** argv) {
    try {
        return tovrel::render::compareBuilds(tovrel::render::parse(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovrel_render_compare: %s\n", e.what());
        return 1;
    }
}
