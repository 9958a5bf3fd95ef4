// tovrel_render_compare: renders the suite with this machine's build and with the PowerPC
// reference build (under qemu), compares the digests case by case and the probes of the maths
// library and the double-double arithmetic, and says where the first difference arises.
//
//   tovrel_render_compare [--shards N] [--require PATH] [--measure]
//                         [--local-plugin PATH --reference-plugin PATH]
//                         LOCAL_COMMAND... -- REFERENCE_COMMAND...
//
// Both commands are tovrel_render (or anything that answers like it); the reference is split
// into N shards run side by side. --require names a file without which there is nothing to
// compare against (the PowerPC program). --measure then renders every case whole on both sides
// and counts the samples that differ and by how much (for builds that do not match yet).
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
#include "tools/render_check/compare/sample_diff.h"
#include "tools/render_check/compare/spawn.h"

namespace tovrel::render {
namespace {

constexpr int kSkip = 77;

struct Options {
    int shards = 2;
    bool measure = false;
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
        } else if (arg == "--measure") {
            o.measure = true;
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

constexpr std::size_t kCasesAtOnce = 2;

// Whether a linked-in or plug-in file render differs anywhere: only then is measuring worth
// rendering the suite again.
bool casesDiffer(const Comparison& c) {
    for (const DigestFile* side : {&c.ours, &c.ourModule}) {
        for (const auto& [name, ours] : side->cases) {
            const auto theirs = c.theirs.cases.find(name);
            if (theirs == c.theirs.cases.end() ||
                compareCase(&theirs->second, &ours).kind != CaseDiff::Match) {
                return true;
            }
        }
    }
    return c.ours.cases.size() != c.theirs.cases.size();
}

std::string percent(long part, long whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

std::string describe(const SampleDiff& d) {
    char text[160];
    std::snprintf(text, sizeof text, "%ld of %ld samples differ (%s), largest by %.3g (%.3g ulps)",
                  d.differing, d.samples, percent(d.differing, d.samples).c_str(), d.largest,
                  d.largestUlps);
    return text;
}

// Every case rendered whole by the reference and by our linked-in effect (and plug-in file),
// compared sample by sample.
void measure(const Options& o, const std::vector<std::string>& names) {
    const bool module = !o.localPlugin.empty();
    const std::size_t sides = module ? 3 : 2;
    SampleDiff total[2];
    int differingCases[2] = {0, 0};
    std::printf("sample differences against the PowerPC reference (linked-in%s):\n",
                module ? ", plug-in file" : "");
    for (std::size_t at = 0; at < names.size(); at += kCasesAtOnce) {
        std::vector<std::vector<std::string>> commands;
        const std::size_t end = std::min(names.size(), at + kCasesAtOnce);
        for (std::size_t i = at; i < end; ++i) {
            const std::initializer_list<std::string> dump{"--dump", names[i], "0", "2000000000"};
            commands.push_back(with(o.reference, dump));
            commands.push_back(with(o.local, dump));
            if (module) commands.push_back(with(with(o.local, {"--plugin", o.localPlugin}), dump));
        }
        const std::vector<RunResult> runs = runAll(commands);
        for (std::size_t i = at; i < end; ++i) {
            const RunResult* run = &runs[(i - at) * sides];
            const auto theirs = parseIndexedWords(run[0].output, "frame");
            std::string line = "  " + names[i] + ":";
            for (std::size_t side = 1; side < sides; ++side) {
                const SampleDiff d =
                    diffSamples(theirs, parseIndexedWords(run[side].output, "frame"));
                total[side - 1].add(d);
                differingCases[side - 1] += d.differing > 0;
                line += (side == 1 ? " " : "; file ") + describe(d);
            }
            std::printf("%s\n", line.c_str());
        }
    }
    for (std::size_t side = 1; side < sides; ++side) {
        std::printf("measured %s: %d of %zu cases (%s) differ; %s\n",
                    side == 1 ? "linked-in" : "plug-in file", differingCases[side - 1],
                    names.size(),
                    percent(differingCases[side - 1], static_cast<long>(names.size())).c_str(),
                    describe(total[side - 1]).c_str());
    }
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
    const Verdict verdict = report(comparison);
    if (o.measure && casesDiffer(comparison)) measure(o, comparison.theirs.order);
    return verdict == Verdict::Match ? 0 : 1;
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
