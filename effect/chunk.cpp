// The host saves and restores the five parameters as one opaque chunk.
#include "effect/chunk_codec.h"
#include "effect/tovrel.h"

namespace tovrel {

static_assert(kChunkBytes == kChunkSize && kChunkValues == kNumParameters, "chunk shape");

VstInt32 Tovrel::getChunk(void** data, bool /*isPreset*/) {
    if (data == nullptr) return 0;
    const float values[kNumParameters] = {A.load(std::memory_order_relaxed),
                                          B.load(std::memory_order_relaxed),
                                          C.load(std::memory_order_relaxed),
                                          D.load(std::memory_order_relaxed),
                                          E.load(std::memory_order_relaxed)};
    encodeChunk(values, chunkBlock);
    *data = chunkBlock;
    return kChunkSize;
}

VstInt32 Tovrel::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/) {
    float values[kNumParameters];
    if (decodeChunk(data, byteSize, values)) storeParameters(values);
    return 0;
}

}  // namespace tovrel
