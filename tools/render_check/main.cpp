// tovrel_render: renders the suite through the effect's record and prints digests that the
// comparison matches between the x86-64 build and the 32-bit PowerPC reference build.
//
//   tovrel_render [--shard I/N] [--case NAME]...   digest of the suite (or of the named cases)
//   tovrel_render --dump NAME FIRST COUNT           the output bits of some frames of one case
//   tovrel_render --probes                          digests of the maths and arithmetic probes
//   tovrel_render --probe-samples NAME FIRST COUNT  the arguments and results of one probe
//   tovrel_render --list                            the case names
//   --plugin PATH renders a plug-in file instead of the linked-in effect (outputs only).
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "effect/state_access.h"
#include "host/noise_seeds.h"
#include "host/plugin.h"
#include "tools/render_check/cases.h"
#include "tools/render_check/digest.h"
#include "tools/render_check/probes.h"
#include "tools/render_check/renderer.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace tovrel::render {
namespace {

constexpr int kChunkFrames = 4096;

struct Options {
    std::vector<std::string> cases;
    int shard = 0, shards = 1;
    std::string plugin;
    std::string dumpName;
    long first = 0, count = 0;
    bool probes = false, probeSamples = false, list = false;
};

[[noreturn]] void usage(const char* problem) {
    std::fprintf(stderr, "tovrel_render: %s (see the top of tools/render_check/main.cpp)\n",
                 problem);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    auto need = [&](int i, int n) {
        if (i + n >= argc) usage("missing value");
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--case") {
            need(i, 1);
            o.cases.push_back(argv[++i]);
        } else if (arg == "--shard") {
            need(i, 1);
            if (std::sscanf(argv[++i], "%d/%d", &o.shard, &o.shards) != 2 || o.shards < 1 ||
                o.shard < 0 || o.shard >= o.shards) {
                usage("--shard wants I/N with 0 <= I < N");
            }
        } else if (arg == "--plugin") {
            need(i, 1);
            o.plugin = argv[++i];
        } else if (arg == "--dump" || arg == "--probe-samples") {
            need(i, 3);
            o.probeSamples = arg == "--probe-samples";
            o.dumpName = argv[i + 1];
            o.first = std::atol(argv[i + 2]);
            o.count = std::atol(argv[i + 3]);
            i += 3;
        } else if (arg == "--probes") {
            o.probes = true;
        } else if (arg == "--list") {
            o.list = true;
        } else {
            usage(("unknown argument " + arg).c_str());
        }
    }
    return o;
}

// A fresh instance with the noise seeds set alike on every platform, whatever its rand() gives.
std::unique_ptr<Plugin> openInstance(const Options& o) {
    auto plugin = o.plugin.empty() ? Plugin::open(&VSTPluginMain, "linked-in Tovrel")
                                   : Plugin::open(o.plugin);
    if (!setNoiseSeeds(*plugin, kDefaultNoiseSeeds)) usage("the plug-in does not take noise seeds");
    return plugin;
}

void digestCase(const RenderCase& c, const Options& o) {
    auto plugin = openInstance(o);
    ChunkDigest digest(stdout, c.name, c.frames, kChunkFrames);
    renderCase(c, *plugin, digest);
    digest.finish(o.plugin.empty() ? &signalStateOf(&plugin->record()) : nullptr);
}

std::vector<const RenderCase*> selected(const Options& o) {
    std::vector<const RenderCase*> chosen;
    if (o.cases.empty()) {
        const auto& suite = renderSuite();
        for (std::size_t i = o.shard; i < suite.size(); i += o.shards) chosen.push_back(&suite[i]);
    }
    for (const std::string& name : o.cases) {
        const RenderCase* c = findCase(name);
        if (c == nullptr) usage(("no case named " + name).c_str());
        chosen.push_back(c);
    }
    return chosen;
}

int run(const Options& o) {
    if (o.list) {
        for (const RenderCase& c : renderSuite()) std::printf("%s\n", c.name.c_str());
    } else if (o.probes) {
        printProbeDigests(stdout);
    } else if (o.probeSamples) {
        const Probe* probe = findProbe(o.dumpName);
        if (probe == nullptr) usage(("no probe named " + o.dumpName).c_str());
        printProbeSamples(stdout, *probe, o.first, o.count);
    } else if (!o.dumpName.empty()) {
        const RenderCase* c = findCase(o.dumpName);
        if (c == nullptr) usage(("no case named " + o.dumpName).c_str());
        auto plugin = openInstance(o);
        FrameDump dump(stdout, o.first, o.count);
        renderCase(*c, *plugin, dump);
    } else {
        for (const RenderCase* c : selected(o)) digestCase(*c, o);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tovrel::render

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The digests are compared as text with the other builds': no carriage returns.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        return tovrel::render::run(tovrel::render::parse(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovrel_render: %s\n", e.what());
        return 1;
    }
}
