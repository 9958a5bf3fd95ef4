// Numeric robustness: recovery after NaN or infinity at the input, the host's floating-point
// mode handed back unchanged, and the cost of denormal and silent input against noise.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "audio.h"
#include "check.h"
#include "fp_mode.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kBlock = 256;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kInstrumented = true;
#else
constexpr bool kInstrumented = false;
#endif

template <typename Sample>
bool offered(Instance& instance) {
    return sizeof(Sample) == sizeof(float) || instance.offersDouble();
}

template <typename Sample>
Outcome recovery(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    const Sample inf = std::numeric_limits<Sample>::infinity();
    const std::pair<Sample, const char*> poisons[] = {
        {std::numeric_limits<Sample>::quiet_NaN(), "NaN"}, {inf, "+infinity"}, {-inf, "-infinity"}};
    constexpr int kPoisoned = 4, kBlocks = 16;
    for (const auto& [poison, name] : poisons) {
        auto instance = plugin.create(context.seed);
        if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
        if (instance->numInputs() == 0) return skipped("no inputs");
        instance->start(44100.0, kBlock);
        auto in = whiteNoise<Sample>(instance->numInputs(), kBlocks * kBlock, context.seed);
        for (auto& channel : in.data) channel[kPoisoned * kBlock + kBlock / 2] = poison;
        noteStep(std::string("processing after a ") + name + " input");
        const auto out = render(*instance, in, {kBlock});
        const std::string bad = firstNonFinite(out, (kPoisoned + 2) * kBlock);
        if (!bad.empty()) {
            return failed(
                std::string("one ") + name + " input sample in block " + std::to_string(kPoisoned) +
                ": " +
                expectedSeen("finite output from block " + std::to_string(kPoisoned + 2) + " on",
                             "non-finite at " + bad));
        }
    }
    return passed();
}

template <typename Sample>
Outcome fpMode(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    instance->start(44100.0, kBlock);
    const FpMode base = defaultFpMode();
    const std::pair<FpMode, const char*> modes[] = {{base, "the default mode"},
                                                    {flushingFpMode(base), "flush-to-zero mode"},
                                                    {truncatingFpMode(base), "round-toward-zero"}};
    auto in = whiteNoise<Sample>(instance->numInputs(), 8 * kBlock, context.seed);
    Channels<Sample> out(instance->numOutputs(), in.frames());
    for (const auto& [mode, name] : modes) {
        for (int block = 0; block < 8; ++block) {
            noteStep(std::string("processing in ") + name);
            setFpMode(mode);
            processBlock(*instance, in, out, block * kBlock, kBlock);
            const FpMode after = currentFpMode();
            setFpMode(base);
            if (!(after == mode)) {
                return failed(std::string("host in ") + name + ": " +
                              expectedSeen(fpModeText(mode), fpModeText(after)));
            }
        }
    }
    return passed();
}

// Seconds to process `input` `repeats` times over, continuing the same instance, so a tail left
// by earlier input decays as it would in use.
// The thread's own processor time, so time spent preempted by other work does not count.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <typename Sample>
double timed(Instance& instance, Channels<Sample>& input, Channels<Sample>& output, int repeats) {
    const double start = threadSeconds();
    for (int repeat = 0; repeat < repeats; ++repeat) {
        for (int offset = 0; offset < input.frames(); offset += kBlock) {
            processBlock(instance, input, output, offset, kBlock);
        }
    }
    return threadSeconds() - start;
}

// The fastest of interleaved runs of each input, every run long enough (about 20 ms) for the
// clock.
template <typename Sample>
std::pair<double, double> fastestRuns(Instance& instance, Channels<Sample>& a, Channels<Sample>& b,
                                      Channels<Sample>& output) {
    int repeats = 1;
    while (repeats < (1 << 16) && timed(instance, a, output, repeats) < 0.02) repeats *= 2;
    double bestA = 1e300, bestB = 1e300;
    for (int round = 0; round < 9; ++round) {
        bestA = std::min(bestA, timed(instance, a, output, repeats));
        bestB = std::min(bestB, timed(instance, b, output, repeats));
    }
    return {bestA, bestB};
}

std::string ratioText(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

enum class Quiet { Denormal, Silence };

template <typename Sample>
Outcome cost(const CheckContext& context, Quiet quiet) {
    if (kInstrumented) return skipped("timing means nothing in an instrumented build");
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (!offered<Sample>(*instance)) return skipped("no double-precision processing offered");
    if (instance->numInputs() == 0) return skipped("no inputs");
    instance->start(44100.0, kBlock);
    constexpr int kFrames = 16 * kBlock;
    auto noise = whiteNoise<Sample>(instance->numInputs(), kFrames, context.seed);
    Channels<Sample> other(instance->numInputs(), kFrames);
    if (quiet == Quiet::Denormal) {
        const Sample smallest = std::numeric_limits<Sample>::denorm_min();
        Noise source(context.seed);
        for (auto& channel : other.data) {
            for (Sample& sample : channel) {
                sample = smallest * static_cast<Sample>(1 + source.below(1000)) *
                         (source.below(2) ? Sample(1) : Sample(-1));
            }
        }
    }
    Channels<Sample> out(instance->numOutputs(), kFrames);
    noteStep(quiet == Quiet::Denormal ? "timing denormal input against noise"
                                      : "timing silence against noise");
    const auto [noiseSeconds, otherSeconds] = fastestRuns(*instance, noise, other, out);
    const double ratio = otherSeconds / noiseSeconds;
    // Silence may cost what noise does; the margin above that is for the clock of a busy
    // machine, and a ratio inside it is only a warning.
    const double limit = quiet == Quiet::Denormal ? 2.0 : 1.5;
    const double doubtful = quiet == Quiet::Denormal ? 1.6 : 1.2;
    const std::string what = quiet == Quiet::Denormal ? "denormal input" : "silence";
    const std::string figure = what + " costs " + ratioText(ratio) + " x noise";
    if (ratio > limit) {
        return failed(expectedSeen(what + " at most " + ratioText(limit) + " x the cost of noise",
                                   ratioText(ratio) + " x"));
    }
    if (ratio > doubtful) return warned(figure + ", near the limit of " + ratioText(limit));
    return passed(figure);
}

template <typename Sample>
Outcome denormalCost(const CheckContext& context) {
    return cost<Sample>(context, Quiet::Denormal);
}

template <typename Sample>
Outcome silenceCost(const CheckContext& context) {
    return cost<Sample>(context, Quiet::Silence);
}

}  // namespace

void addNumericChecks(std::vector<Check>& checks) {
    checks.push_back({"numeric.nan-recovery-float", 5, 60.0, recovery<float>});
    checks.push_back({"numeric.nan-recovery-double", 5, 60.0, recovery<double>});
    checks.push_back({"numeric.fp-mode-float", 5, 30.0, fpMode<float>});
    checks.push_back({"numeric.fp-mode-double", 5, 30.0, fpMode<double>});
    checks.push_back({"numeric.denormal-cost-float", 9, 120.0, denormalCost<float>});
    checks.push_back({"numeric.denormal-cost-double", 9, 120.0, denormalCost<double>});
    checks.push_back({"numeric.silence-cost-float", 9, 120.0, silenceCost<float>});
    checks.push_back({"numeric.silence-cost-double", 9, 120.0, silenceCost<double>});
}

}  // namespace tovrel::validation
