// Out-of-range indices for parameters, programs and pins: no write into the caller's buffers,
// no change to anything in range, and no crash.
#include <climits>
#include <vector>

#include "canary_text.h"
#include "check.h"
#include "frame/opcodes.h"
#include "frame/vst_types.h"
#include "instance.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

std::vector<VstInt32> indicesOutside(VstInt32 count) {
    return {count, count + 1, -1, -1000, 1 << 20, INT_MAX, INT_MIN};
}

void expectAlone(Instance& instance, const std::string& what, VstInt32 opcode, VstInt32 index,
                 VstIntPtr value = 0) {
    noteStep(what + " at index " + std::to_string(index));
    if (!leavesBufferAlone(
            [&](char* buffer) { instance.dispatch(opcode, index, value, buffer); })) {
        throw CheckFailure(what + " at out-of-range index " + std::to_string(index) + ": " +
                           expectedSeen("the buffer untouched", "bytes written into it"));
    }
}

std::vector<float> allParameters(Instance& instance) {
    std::vector<float> values;
    for (VstInt32 i = 0; i < instance.numParams(); ++i) values.push_back(instance.parameter(i));
    return values;
}

Outcome parameters(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    const std::vector<float> before = allParameters(*instance);
    for (VstInt32 index : indicesOutside(instance->numParams())) {
        expectAlone(*instance, "effGetParamName", effGetParamName, index);
        expectAlone(*instance, "effGetParamLabel", effGetParamLabel, index);
        expectAlone(*instance, "effGetParamDisplay", effGetParamDisplay, index);
        noteStep("getParameter and setParameter at index " + std::to_string(index));
        (void)instance->parameter(index);
        instance->setParameter(index, 0.73f);
        instance->dispatch(effCanBeAutomated, index);
    }
    const std::vector<float> after = allParameters(*instance);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (after[i] != before[i]) {
            return failed(parameterTitle(*instance, static_cast<VstInt32>(i)) + ": " +
                          expectedSeen("unchanged by out-of-range setParameter at " +
                                           std::to_string(before[i]),
                                       std::to_string(after[i])));
        }
    }
    return passed();
}

Outcome programs(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    const VstIntPtr current = instance->dispatch(effGetProgram);
    for (VstInt32 index : indicesOutside(instance->numPrograms())) {
        expectAlone(*instance, "effGetProgramNameIndexed", effGetProgramNameIndexed, index);
    }
    for (VstInt32 value : {instance->numPrograms(), instance->numPrograms() + 1, 1 << 20}) {
        noteStep("effSetProgram " + std::to_string(value));
        instance->dispatch(effSetProgram, 0, value);
        const VstIntPtr now = instance->dispatch(effGetProgram);
        if (now != current) {
            return failed("effSetProgram " + std::to_string(value) + " of " +
                          std::to_string(instance->numPrograms()) + ": " +
                          expectedSeen("program " + std::to_string(current) + " kept",
                                       "program " + std::to_string(now)));
        }
    }
    return passed();
}

Outcome pins(const CheckContext& context) {
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    for (VstInt32 index : indicesOutside(instance->numInputs())) {
        expectAlone(*instance, "effGetInputProperties", effGetInputProperties, index);
    }
    for (VstInt32 index : indicesOutside(instance->numOutputs())) {
        expectAlone(*instance, "effGetOutputProperties", effGetOutputProperties, index);
    }
    // Arrangements claiming impossible channel counts; room for 64 speakers is really there.
    constexpr std::size_t kBytes =
        offsetof(VstSpeakerArrangement, speakers) + 64 * sizeof(VstSpeakerProperties);
    for (VstInt32 channels : {-1, 1 << 20, INT_MAX}) {
        std::vector<unsigned char> input(kBytes, 0), output(kBytes, 0);
        auto* in = reinterpret_cast<VstSpeakerArrangement*>(input.data());
        auto* out = reinterpret_cast<VstSpeakerArrangement*>(output.data());
        in->numChannels = channels;
        out->numChannels = channels;
        const std::string what =
            "effSetSpeakerArrangement with " + std::to_string(channels) + " channels";
        noteStep(what);
        const auto inputBefore = input;
        const auto outputBefore = output;
        instance->dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(in), out);
        if (input != inputBefore || output != outputBefore) {
            return failed(
                what + ": " +
                expectedSeen("the host's arrangements untouched", "bytes written into them"));
        }
    }
    return passed();
}

}  // namespace

void addRangeChecks(std::vector<Check>& checks) {
    checks.push_back({"range.parameters", 2, 20.0, parameters});
    checks.push_back({"range.programs", 2, 20.0, programs});
    checks.push_back({"range.speakers", 2, 20.0, pins});
}

}  // namespace tovrel::validation
