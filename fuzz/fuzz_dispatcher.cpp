// Random request sequences through the record, each with a buffer of the kind the request
// expects, mixed with parameter and processing calls.
#include <cstdint>
#include <vector>

#include "effect_host.h"
#include "frame/opcodes.h"
#include "frame/vst_types.h"
#include "fuzz_input.h"

namespace {

using tovrel::fuzz::Effect;
using tovrel::fuzz::Input;

constexpr int kFrames = 64;

// Room for any record a request may fill in.
struct alignas(16) Scratch {
    unsigned char bytes[4096] = {};
};

void processSome(Effect& effect, Input& input) {
    const int frames = input.take<std::uint8_t>() % (kFrames + 1);
    if (input.take<std::uint8_t>() & 1) {
        std::vector<double> left(kFrames, 0.25), right(kFrames, -0.25);
        double* channels[] = {left.data(), right.data()};
        effect->processDoubleReplacing(effect.operator->(), channels, channels, frames);
    } else {
        std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.25f);
        float* channels[] = {left.data(), right.data()};
        effect->processReplacing(effect.operator->(), channels, channels, frames);
    }
}

void oneRequest(Effect& effect, Input& input) {
    const auto opcode = static_cast<VstInt32>(input.take<std::uint8_t>() % 84) - 2;
    const auto index = static_cast<VstInt32>(input.take<std::int16_t>());
    const auto value = static_cast<VstIntPtr>(input.take<std::int32_t>());
    const float opt = input.take<float>();
    Scratch scratch;
    switch (opcode) {
        case effClose:
            return;  // ends the instance; the sequence goes on with it
        case effGetChunk: {
            void* chunk = nullptr;
            effect.dispatch(opcode, index, value, &chunk, opt);
            return;
        }
        case effSetChunk: {
            std::string bytes = input.bytes(64);
            effect.dispatch(opcode, index, static_cast<VstIntPtr>(bytes.size()), bytes.data(), opt);
            return;
        }
        case effSetProgramName:
        case effCanDo:
        case effString2Parameter: {
            std::string text = input.bytes(kVstMaxProgNameLen);
            text.push_back('\0');
            effect.dispatch(opcode, index, value, text.data(), opt);
            return;
        }
        case effSetSpeakerArrangement: {
            Scratch output;
            auto* in = reinterpret_cast<VstSpeakerArrangement*>(scratch.bytes);
            auto* out = reinterpret_cast<VstSpeakerArrangement*>(output.bytes);
            in->type = input.take<std::int8_t>();
            in->numChannels = input.take<std::uint8_t>() % 9;
            out->type = input.take<std::int8_t>();
            out->numChannels = input.take<std::uint8_t>() % 9;
            effect.dispatch(opcode, index, reinterpret_cast<VstIntPtr>(in), out, opt);
            return;
        }
        case effGetSpeakerArrangement: {
            VstSpeakerArrangement* in = nullptr;
            VstSpeakerArrangement* out = nullptr;
            effect.dispatch(opcode, index, reinterpret_cast<VstIntPtr>(&in), &out, opt);
            return;
        }
        case effEditGetRect: {
            void* rectangle = nullptr;
            effect.dispatch(opcode, index, value, &rectangle, opt);
            return;
        }
        default:
            effect.dispatch(opcode, index, value, scratch.bytes, opt);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    Effect effect;
    for (int step = 0; step < 64 && !input.empty(); ++step) {
        switch (input.take<std::uint8_t>() % 8) {
            case 0:
                effect->setParameter(effect.operator->(), input.take<std::int8_t>(),
                                     input.take<float>());
                break;
            case 1:
                (void)effect->getParameter(effect.operator->(), input.take<std::int8_t>());
                break;
            case 2:
                processSome(effect, input);
                break;
            default:
                oneRequest(effect, input);
        }
    }
    return 0;
}
