// Loading: the entry point, the record, the version question, several instances, a host that
// answers nothing, and many create/close cycles.
#include <dlfcn.h>

#include "audio.h"
#include "check.h"
#include "frame/opcodes.h"
#include "heap_usage.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

// Flag bits the record may carry; the others are reserved.
constexpr VstInt32 kKnownFlags = effFlagsHasEditor | effFlagsHasClip | effFlagsHasVu |
                                 effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks |
                                 effFlagsIsSynth | effFlagsNoSoundInStop | effFlagsExtIsAsync |
                                 effFlagsExtHasBuffer | effFlagsCanDoubleReplacing;

std::string entryName(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    std::string name = "main";
    if (handle != nullptr && dlsym(handle, "VSTPluginMain") != nullptr) name = "VSTPluginMain";
    if (handle != nullptr) dlclose(handle);
    return name;
}

Outcome entry(const CheckContext& context) {
    noteStep("loading the file");
    PluginUnderTest plugin(context.pluginPath);
    noteStep("calling the entry point");
    auto instance = plugin.create(context.seed);
    const std::string path = context.pluginPath.find('/') == std::string::npos
                                 ? "./" + context.pluginPath
                                 : context.pluginPath;
    return passed("entry " + entryName(path) + ", " + std::to_string(instance->numInputs()) +
                  " in, " + std::to_string(instance->numOutputs()) + " out, " +
                  std::to_string(instance->numParams()) + " parameters, " +
                  std::to_string(instance->numPrograms()) + " programs");
}

Outcome record(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    AEffect& effect = instance->record();
    if (!instance->hasFlag(effFlagsCanReplacing) || effect.processReplacing == nullptr) {
        return failed(expectedSeen(
            "effFlagsCanReplacing and a processReplacing entry",
            std::string(instance->hasFlag(effFlagsCanReplacing) ? "the flag" : "no flag") +
                (effect.processReplacing ? " and an entry" : " and no entry")));
    }
    if (instance->hasFlag(effFlagsCanDoubleReplacing) && effect.processDoubleReplacing == nullptr) {
        return failed(
            expectedSeen("a processDoubleReplacing entry with effFlagsCanDoubleReplacing", "none"));
    }
    if (effect.setParameter == nullptr || effect.getParameter == nullptr) {
        return failed(expectedSeen("setParameter and getParameter entries", "a null entry"));
    }
    if (effect.numOutputs == 0) return failed(expectedSeen("at least one output", "0"));
    const VstIntPtr identify = instance->dispatch(effIdentify);
    (void)identify;  // an old request; any answer is allowed
    std::string warnings;
    if ((effect.flags & ~kKnownFlags) != 0) {
        warnings +=
            "reserved flag bits set (" + std::to_string(effect.flags & ~kKnownFlags) + "); ";
    }
    if (effect.uniqueID == 0) warnings += "unique ID is 0; ";
    const VstIntPtr version = instance->dispatch(effGetVstVersion);
    if (version < 2400) warnings += "effGetVstVersion answers " + std::to_string(version) + "; ";
    if (!warnings.empty()) return warned(warnings.substr(0, warnings.size() - 2));
    return passed();
}

Outcome hostVersion(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (hostLog().versionQuestions.load() == 0) {
        return warned("the plug-in never asked the host for its version (audioMasterVersion)");
    }
    return passed();
}

template <typename Sample>
std::string processOnce(Instance& instance, int frames, std::uint64_t seed) {
    auto in = whiteNoise<Sample>(instance.numInputs(), frames, seed);
    auto out = render(instance, in, {frames});
    return firstNonFinite(out);
}

Outcome twoInstances(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto first = plugin.create(context.seed);
    auto second = plugin.create(context.seed);
    first->start(44100.0, 256);
    second->start(48000.0, 128);
    for (int i = 0; i < 4; ++i) {
        noteStep("processing both instances in turn");
        const std::string a = processOnce<float>(*first, 256, context.seed + i);
        const std::string b = processOnce<float>(*second, 128, context.seed + i);
        if (!a.empty() || !b.empty()) {
            return failed(expectedSeen("finite output from both", "non-finite " + a + b));
        }
    }
    // Parameters belong to one instance: changing the first must leave the second alone.
    for (VstInt32 index = 0; index < first->numParams(); ++index) {
        const float before = second->parameter(index);
        const float other = first->parameter(index) < 0.5f ? 0.9f : 0.1f;
        first->setParameter(index, other);
        const float after = second->parameter(index);
        if (after != before) {
            return failed("parameter " + std::to_string(index) + ": " +
                          expectedSeen("the second instance unchanged at " + std::to_string(before),
                                       std::to_string(after)));
        }
    }
    return passed();
}

Outcome nullHost(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    noteStep("creating an instance with a host that answers nothing");
    std::unique_ptr<Instance> instance;
    try {
        instance = plugin.create(context.seed, HostKind::Silent);
    } catch (const NoRecord&) {
        // The classic answer to a host too old to tell its version.
        return passed("declines to start without the host's version, without crashing");
    }
    instance->start(44100.0, 512);
    noteStep("processing with a host that answers nothing");
    const std::string bad = processOnce<float>(*instance, 512, context.seed);
    if (!bad.empty()) return failed(expectedSeen("finite output", "non-finite at " + bad));
    return passed();
}

Outcome createCloseCycles(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    noteStep("creating and closing instances");
    expectNoHeapGrowth("create/close cycles", 1000, 64 * 1024,
                       [&] { auto instance = plugin.create(context.seed); });
    return passed();
}

}  // namespace

void addLoadingChecks(std::vector<Check>& checks) {
    checks.push_back({"load.entry", 1, 20.0, entry});
    checks.push_back({"load.record", 1, 20.0, record});
    checks.push_back({"load.host-version", 2, 20.0, hostVersion});
    checks.push_back({"load.two-instances", 2, 30.0, twoInstances});
    checks.push_back({"load.null-host", 2, 30.0, nullHost});
    checks.push_back({"load.create-close-cycles", 8, 120.0, createCloseCycles});
}

}  // namespace tovrel::validation
