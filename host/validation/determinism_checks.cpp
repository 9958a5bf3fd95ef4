// Determinism: fresh instances given the same noise seeds render the same input bit for bit,
// whatever the block partition. Plug-ins that do not answer the seed request get an INFO line
// with the size of the difference instead.
#include <cmath>
#include <cstdio>

#include "audio.h"
#include "check.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kFrames = 3 * 44100;

std::string differenceText(double difference) {
    if (difference == 0.0) return "bit-identical";
    char text[64];
    std::snprintf(text, sizeof text, "differ by up to %.3g (%.1f dBFS)", difference,
                  20.0 * std::log10(difference));
    return text;
}

template <typename Sample>
struct Render {
    Channels<Sample> output;
    bool seeded = false;
};

template <typename Sample>
Render<Sample> renderFresh(PluginUnderTest& plugin, const CheckContext& context,
                           const Channels<Sample>& input, const std::vector<int>& blocks) {
    auto instance = plugin.create(context.seed);
    const bool seeded = instance->seedNoise(context.seed);
    instance->start(44100.0, 4096);
    Channels<Sample> in = input;
    return {render(*instance, in, blocks), seeded};
}

std::vector<int> randomPartition(std::uint32_t seed) {
    Noise noise(seed);
    std::vector<int> blocks;
    for (int i = 0; i < 64; ++i) blocks.push_back(1 + noise.below(4096));
    return blocks;
}

template <typename Sample>
Outcome compare(const CheckContext& context, bool partitions) {
    PluginUnderTest plugin(context.pluginPath);
    {
        auto probe = plugin.create(context.seed);
        if (sizeof(Sample) == sizeof(double) && !probe->offersDouble()) {
            return skipped("no double-precision processing offered");
        }
    }
    const auto input =
        whiteNoise<Sample>(plugin.create(context.seed)->numInputs(), kFrames, context.seed);
    noteStep("first render");
    const auto first = renderFresh(plugin, context, input, {512});
    noteStep("second render");
    const auto second = renderFresh(plugin, context, input,
                                    partitions ? randomPartition(context.seed) : std::vector{512});
    const double difference = largestDifference(first.output, second.output);
    const std::string what =
        partitions ? "512-frame blocks and random blocks" : "two fresh instances";
    if (!first.seeded || !second.seeded) {
        return informed("the plug-in does not answer the noise-seed request; " + what + " " +
                        differenceText(difference));
    }
    if (difference != 0.0) {
        return failed(what + " with the same seeds: " +
                      expectedSeen("bit-identical output", differenceText(difference)));
    }
    return passed();
}

template <typename Sample>
Outcome freshInstances(const CheckContext& context) {
    return compare<Sample>(context, false);
}

template <typename Sample>
Outcome blockPartitions(const CheckContext& context) {
    return compare<Sample>(context, true);
}

}  // namespace

void addDeterminismChecks(std::vector<Check>& checks) {
    checks.push_back({"determinism.instances-float", 6, 120.0, freshInstances<float>});
    checks.push_back({"determinism.instances-double", 6, 120.0, freshInstances<double>});
    checks.push_back({"determinism.partitions-float", 6, 120.0, blockPartitions<float>});
    checks.push_back({"determinism.partitions-double", 6, 120.0, blockPartitions<double>});
}

}  // namespace tovrel::validation
