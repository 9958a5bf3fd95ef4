// Any bytes as a chunk, for the bank and for one program; the instance must still save and
// process afterwards.
#include <cstdint>
#include <vector>

#include "effect_host.h"
#include "frame/opcodes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tovrel::fuzz::Effect effect;
    std::vector<std::uint8_t> chunk(data, data + size);  // the plug-in may not write into ours
    effect.dispatch(effSetChunk, size % 2, static_cast<VstIntPtr>(chunk.size()), chunk.data());
    void* saved = nullptr;
    const VstIntPtr bytes = effect.dispatch(effGetChunk, 0, 0, &saved);
    if (bytes > 0 && saved == nullptr) __builtin_trap();
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    effect.dispatch(effMainsChanged, 0, 1);
    std::vector<float> left(64, 0.5f), right(64, -0.5f);
    float* channels[] = {left.data(), right.data()};
    effect->processReplacing(effect.operator->(), channels, channels, 64);
    return 0;
}
