// Threads: parameters set from a second thread while processing runs, as a host's interface
// thread does, for 500 blocks.
#include <atomic>
#include <thread>

#include "audio.h"
#include "check.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kBlock = 256;
constexpr int kBlocks = 500;

template <typename Sample>
Outcome parametersMeanwhile(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (sizeof(Sample) == sizeof(double) && !instance->offersDouble()) {
        return skipped("no double-precision processing offered");
    }
    if (instance->numParams() == 0) return skipped("no parameters");
    instance->start(44100.0, kBlock);
    auto in = whiteNoise<Sample>(instance->numInputs(), kBlock, context.seed);
    Channels<Sample> out(instance->numOutputs(), kBlock);
    std::atomic<bool> done{false};
    std::atomic<long> changes{0};
    std::thread interfaceThread([&] {
        Noise noise(context.seed + 1);
        while (!done.load()) {
            const auto index = static_cast<VstInt32>(noise.below(instance->numParams()));
            instance->setParameter(index, static_cast<float>(noise.uniform()));
            (void)instance->parameter(index);
            ++changes;
            std::this_thread::yield();
        }
    });
    // Processing starts once the other thread is under way, or a fast plug-in could finish first.
    while (changes.load() == 0) std::this_thread::yield();
    noteStep("processing while another thread sets parameters");
    std::string bad;
    for (int block = 0; block < kBlocks && bad.empty(); ++block) {
        processBlock(*instance, in, out, 0, kBlock);
        bad = firstNonFinite(out);
    }
    done = true;
    interfaceThread.join();
    if (!bad.empty()) return failed(expectedSeen("finite output", "non-finite at " + bad));
    return passed();
}

}  // namespace

void addThreadChecks(std::vector<Check>& checks) {
    checks.push_back({"threads.parameters-float", 7, 120.0, parametersMeanwhile<float>});
    checks.push_back({"threads.parameters-double", 7, 120.0, parametersMeanwhile<double>});
}

}  // namespace tovrel::validation
