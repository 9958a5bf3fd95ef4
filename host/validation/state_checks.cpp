// State: the chunk (or, without chunks, every parameter) round-trips exactly, hostile chunks
// crash nothing, and saving many times does not grow the heap.
#include <cstring>
#include <vector>

#include "audio.h"
#include "canary_text.h"
#include "check.h"
#include "frame/opcodes.h"
#include "heap_usage.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

using Bytes = std::vector<unsigned char>;

bool usesChunks(Instance& instance) {
    return instance.hasFlag(effFlagsProgramChunks);
}

Bytes chunkOf(Instance& instance, VstInt32 kind) {
    void* data = nullptr;
    noteStep("effGetChunk");
    const VstIntPtr size = instance.dispatch(effGetChunk, kind, 0, &data);
    if (size < 0 || (size > 0 && data == nullptr)) {
        throw CheckFailure("effGetChunk: " +
                           expectedSeen("a size and a block", "size " + std::to_string(size) +
                                                                  (data ? "" : " and no block")));
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    return Bytes(bytes, bytes + size);
}

// The state as bytes: the chunk, or every parameter's float.
Bytes snapshot(Instance& instance, VstInt32 kind) {
    if (usesChunks(instance)) return chunkOf(instance, kind);
    Bytes bytes(static_cast<std::size_t>(instance.numParams()) * sizeof(float));
    for (VstInt32 i = 0; i < instance.numParams(); ++i) {
        const float value = instance.parameter(i);
        std::memcpy(bytes.data() + i * sizeof(float), &value, sizeof value);
    }
    return bytes;
}

void restore(Instance& instance, VstInt32 kind, Bytes state) {
    noteStep("restoring the state");
    if (usesChunks(instance)) {
        instance.dispatch(effSetChunk, kind, static_cast<VstIntPtr>(state.size()), state.data());
        return;
    }
    for (VstInt32 i = 0; i < instance.numParams(); ++i) {
        float value;
        std::memcpy(&value, state.data() + i * sizeof(float), sizeof value);
        instance.setParameter(i, value);
    }
}

void randomise(Instance& instance, Noise& noise) {
    for (VstInt32 i = 0; i < instance.numParams(); ++i) {
        instance.setParameter(i, static_cast<float>(noise.uniform()));
    }
}

std::string firstDifference(const Bytes& expected, const Bytes& seen) {
    if (expected.size() != seen.size()) {
        return expectedSeen(std::to_string(expected.size()) + " bytes",
                            std::to_string(seen.size()) + " bytes");
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != seen[i]) {
            return expectedSeen("byte " + std::to_string(i) + " = " + std::to_string(expected[i]),
                                std::to_string(seen[i]));
        }
    }
    return {};
}

// Names the parameter behind a difference when the state is the parameter list.
std::string differenceText(Instance& instance, const Bytes& expected, const Bytes& seen) {
    if (usesChunks(instance) || expected.size() != seen.size()) {
        return firstDifference(expected, seen);
    }
    for (VstInt32 i = 0; i < instance.numParams(); ++i) {
        float want, got;
        std::memcpy(&want, expected.data() + i * sizeof(float), sizeof want);
        std::memcpy(&got, seen.data() + i * sizeof(float), sizeof got);
        if (std::memcmp(&want, &got, sizeof want) != 0) {
            return parameterTitle(instance, i) + ": " +
                   expectedSeen(std::to_string(want), std::to_string(got));
        }
    }
    return {};
}

Outcome roundTrip(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    Noise noise(context.seed);
    auto instance = plugin.create(context.seed);
    const bool chunks = usesChunks(*instance);
    const std::vector<VstInt32> kinds = chunks && instance->numPrograms() > 0
                                            ? std::vector<VstInt32>{0, 1}
                                            : std::vector<VstInt32>{0};
    for (VstInt32 kind : kinds) {
        const std::string what = chunks ? (kind ? "program chunk" : "bank chunk") : "parameters";
        for (int round = 0; round < 3; ++round) {
            if (round > 0) randomise(*instance, noise);  // the defaults first, then random states
            const Bytes saved = snapshot(*instance, kind);
            randomise(*instance, noise);
            restore(*instance, kind, saved);
            std::string difference = differenceText(*instance, saved, snapshot(*instance, kind));
            if (!difference.empty())
                return failed(what + " set back on the same instance: " + difference);
            auto fresh = plugin.create(context.seed);
            restore(*fresh, kind, saved);
            difference = differenceText(*fresh, saved, snapshot(*fresh, kind));
            if (!difference.empty())
                return failed(what + " set on a fresh instance: " + difference);
        }
    }
    return passed(chunks ? "chunks" : "parameters (no chunks)");
}

Bytes garbage(Noise& noise, std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) byte = static_cast<unsigned char>(noise.next());
    return bytes;
}

void setChunk(Instance& instance, const std::string& what, void* data, VstIntPtr size) {
    noteStep("effSetChunk with " + what);
    instance.dispatch(effSetChunk, 0, size, data);
}

Outcome hostileChunks(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    Noise noise(context.seed);
    auto instance = plugin.create(context.seed);
    Bytes valid = snapshot(*instance, 0);
    if (valid.empty()) valid = garbage(noise, 16);
    Bytes copy = valid;
    setChunk(*instance, "size 0", copy.data(), 0);
    for (std::size_t size : {std::size_t{1}, valid.size() / 2, valid.size() - 1}) {
        copy = valid;
        setChunk(*instance, "a short chunk of " + std::to_string(size) + " bytes", copy.data(),
                 static_cast<VstIntPtr>(size));
    }
    for (int round = 0; round < 16; ++round) {
        Bytes bytes = garbage(noise, round < 8 ? valid.size() : 1 + noise.below(4096));
        setChunk(*instance, std::to_string(bytes.size()) + " bytes of garbage", bytes.data(),
                 static_cast<VstIntPtr>(bytes.size()));
    }
    Bytes huge = garbage(noise, std::size_t{64} << 20);
    setChunk(*instance, "64 MiB of garbage", huge.data(), static_cast<VstIntPtr>(huge.size()));
    huge.clear();
    copy = valid;
    setChunk(*instance, "a negative size", copy.data(), -1);
    setChunk(*instance, "a null pointer and size 0", nullptr, 0);
    setChunk(*instance, "a null pointer and a real size", nullptr,
             static_cast<VstIntPtr>(valid.size()));
    // Still a working plug-in afterwards.
    restore(*instance, 0, valid);
    snapshot(*instance, 0);
    instance->start(44100.0, 256);
    auto in = whiteNoise<float>(instance->numInputs(), 1024, context.seed);
    noteStep("processing after hostile chunks");
    const auto out = render(*instance, in, {256});
    const std::string bad = firstNonFinite(out);
    if (!bad.empty()) return failed("after hostile chunks: " + expectedSeen("finite output", bad));
    return passed();
}

Outcome saveLoop(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    expectNoHeapGrowth("saves", 1000, 64 * 1024, [&] {
        Bytes saved = snapshot(*instance, 0);
        restore(*instance, 0, saved);
    });
    return passed();
}

}  // namespace

void addStateChecks(std::vector<Check>& checks) {
    checks.push_back({"state.round-trip", 3, 30.0, roundTrip});
    checks.push_back({"state.hostile-chunks", 3, 60.0, hostileChunks});
    checks.push_back({"state.save-loop", 7, 60.0, saveLoop});
}

}  // namespace tovrel::validation
