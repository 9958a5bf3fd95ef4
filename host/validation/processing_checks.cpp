// Processing in both precisions: every rate with every block size, changes without a suspend,
// automation at every 32 frames, and in-place buffers.
#include <algorithm>
#include <cmath>
#include <limits>

#include "audio.h"
#include "check.h"
#include "frame/opcodes.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

const double kRates[] = {22050, 44100, 48000, 88200, 96000, 192000};
constexpr int kFixedBlocks[] = {1, 17, 64, 512, 2027, 4096};

std::string rateBlock(double rate, int block) {
    return std::to_string(static_cast<int>(rate)) + " Hz, " + std::to_string(block) +
           "-frame blocks";
}

template <typename Sample>
bool offered(Instance& instance) {
    return sizeof(Sample) == sizeof(float) || instance.offersDouble();
}

// Output starts as NaN, so a sample the plug-in never writes shows up as non-finite.
template <typename Sample>
Channels<Sample> renderChecked(Instance& instance, Channels<Sample>& in,
                               const std::vector<int>& blocks, const std::string& where) {
    Channels<Sample> out(instance.numOutputs(), in.frames(),
                         std::numeric_limits<Sample>::quiet_NaN());
    int offset = 0;
    for (std::size_t i = 0; offset < in.frames(); ++i) {
        const int frames = std::min(blocks[i % blocks.size()], in.frames() - offset);
        processBlock(instance, in, out, offset, frames);
        offset += frames;
    }
    const std::string bad = firstNonFinite(out);
    if (!bad.empty()) {
        throw CheckFailure(std::string(precisionName(in)) + " at " + where + ": " +
                           expectedSeen("finite output everywhere", "non-finite at " + bad));
    }
    return out;
}

template <typename Sample>
Outcome ratesAndBlocks(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    Noise noise(context.seed);
    long subnormal = 0;
    std::string subnormalWhere;
    for (double rate : kRates) {
        std::vector<int> blocks(std::begin(kFixedBlocks), std::end(kFixedBlocks));
        blocks.push_back(1 + noise.below(4096));
        for (int block : blocks) {
            const std::string where = rateBlock(rate, block);
            noteStep(std::string(sizeof(Sample) == 4 ? "float" : "double") + " at " + where);
            instance->start(rate, block);
            auto in =
                whiteNoise<Sample>(instance->numInputs(), std::max(4096, 3 * block), noise.next());
            const auto out = renderChecked(*instance, in, {block}, where);
            const long count = countSubnormal(out);
            if (count > 0 && subnormal == 0) subnormalWhere = where;
            subnormal += count;
        }
    }
    if (subnormal > 0) {
        return warned(std::to_string(subnormal) + " subnormal output samples, first at " +
                      subnormalWhere);
    }
    return passed();
}

template <typename Sample>
Outcome reconfigure(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    instance->start(44100.0, 512);
    const std::pair<double, int> steps[] = {
        {44100, 512}, {96000, 64}, {22050, 4096}, {192000, 17}, {48000, 512}};
    std::uint64_t seed = context.seed;
    for (const auto& [rate, block] : steps) {
        // Announced while resumed, as some hosts do.
        instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        instance->dispatch(effSetBlockSize, 0, block);
        const std::string where = rateBlock(rate, block) + " set without a suspend";
        noteStep(where);
        auto in = whiteNoise<Sample>(instance->numInputs(), 4 * block, ++seed);
        renderChecked(*instance, in, {block}, where);
    }
    return passed();
}

template <typename Sample>
Outcome automation(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    if (instance->numParams() == 0) return skipped("no parameters");
    Noise noise(context.seed);
    instance->start(44100.0, 512);
    auto in = whiteNoise<Sample>(instance->numInputs(), 2 * 44100, context.seed);
    Channels<Sample> out(instance->numOutputs(), in.frames(),
                         std::numeric_limits<Sample>::quiet_NaN());
    noteStep("processing 32-frame blocks with a parameter change before each");
    for (int offset = 0; offset < in.frames(); offset += 32) {
        const auto index = static_cast<VstInt32>(noise.below(instance->numParams()));
        instance->setParameter(index, static_cast<float>(noise.uniform()));
        processBlock(*instance, in, out, offset, std::min(32, in.frames() - offset));
    }
    const std::string bad = firstNonFinite(out);
    if (!bad.empty()) return failed(expectedSeen("finite output", "non-finite at " + bad));
    return passed();
}

template <typename Sample>
Channels<Sample> freshRender(PluginUnderTest& plugin, const CheckContext& context,
                             Channels<Sample> input, bool inPlace) {
    auto instance = plugin.create(context.seed);
    instance->seedNoise(context.seed);
    instance->start(44100.0, 256);
    if (!inPlace) return render(*instance, input, {256});
    for (int offset = 0; offset < input.frames(); offset += 256) {
        processBlock(*instance, input, input, offset, std::min(256, input.frames() - offset));
    }
    return input;
}

template <typename Sample>
Outcome inPlace(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    {
        auto probe = plugin.create(context.seed);
        if (!offered<Sample>(*probe)) return skipped("no double-precision processing offered");
        if (probe->numInputs() != probe->numOutputs()) {
            return skipped("inputs and outputs differ in number");
        }
    }
    const auto input =
        whiteNoise<Sample>(plugin.create(context.seed)->numInputs(), 8192, context.seed);
    noteStep("processing out of place twice");
    const auto first = freshRender(plugin, context, input, false);
    const auto second = freshRender(plugin, context, input, false);
    noteStep("processing in place");
    const auto shared = freshRender(plugin, context, input, true);
    const std::string bad = firstNonFinite(shared);
    if (!bad.empty()) return failed(expectedSeen("finite output in place", "non-finite at " + bad));
    if (largestDifference(first, second) != 0.0) {
        return passed("renders are not reproducible, so only finiteness is compared");
    }
    const double difference = largestDifference(first, shared);
    if (difference != 0.0) {
        return failed(expectedSeen("the out-of-place render exactly",
                                   "a difference of up to " + std::to_string(difference)));
    }
    return passed();
}

// A long run as a session would be: random block sizes, a parameter change before each block,
// and now and then a suspend and resume.
template <typename Sample>
Outcome soak(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    Noise noise(context.seed);
    constexpr double kRate = 48000.0;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr int kSeconds = 4;  // instrumented code is many times slower
#else
    constexpr int kSeconds = 20;
#endif
    instance->start(kRate, 4096);
    auto in = whiteNoise<Sample>(instance->numInputs(), static_cast<int>(kRate), context.seed);
    Channels<Sample> out(instance->numOutputs(), in.frames());
    for (int second = 0; second < kSeconds; ++second) {
        noteStep("second " + std::to_string(second) + " of the long run");
        if (second % 5 == 4) instance->start(kRate, 4096);
        for (int offset = 0; offset < in.frames();) {
            const int frames = std::min(1 + noise.below(4096), in.frames() - offset);
            if (instance->numParams() > 0) {
                instance->setParameter(static_cast<VstInt32>(noise.below(instance->numParams())),
                                       static_cast<float>(noise.uniform()));
            }
            processBlock(*instance, in, out, offset, frames);
            offset += frames;
        }
        const std::string bad = firstNonFinite(out);
        if (!bad.empty()) {
            return failed("second " + std::to_string(second) + ": " +
                          expectedSeen("finite output", "non-finite at " + bad));
        }
    }
    return passed();
}

}  // namespace

void addProcessingChecks(std::vector<Check>& checks) {
    checks.push_back({"process.float", 4, 120.0, ratesAndBlocks<float>});
    checks.push_back({"process.double", 4, 120.0, ratesAndBlocks<double>});
    checks.push_back({"process.reconfigure-float", 4, 60.0, reconfigure<float>});
    checks.push_back({"process.reconfigure-double", 4, 60.0, reconfigure<double>});
    checks.push_back({"process.in-place-float", 4, 60.0, inPlace<float>});
    checks.push_back({"process.in-place-double", 4, 60.0, inPlace<double>});
    checks.push_back({"process.automation-float", 5, 60.0, automation<float>});
    checks.push_back({"process.automation-double", 5, 60.0, automation<double>});
    checks.push_back({"process.soak-float", 10, 300.0, soak<float>});
    checks.push_back({"process.soak-double", 10, 300.0, soak<double>});
}

}  // namespace tovrel::validation
