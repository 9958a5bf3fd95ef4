#include "effect/chunk_codec.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace tovrel {
namespace {

// Smallest non-zero magnitude a 0-to-1 control plausibly holds: a byte-swapped ordinary value
// almost always lands far below it.
const float kTinyMagnitude = std::ldexp(1.0f, -60);

bool plausible(float value) {
    if (std::isnan(value) || value < 0.0f || value > 1.0f) return false;
    return value == 0.0f || std::fabs(value) >= kTinyMagnitude;
}

bool allPlausible(const float (&values)[kChunkValues]) {
    for (float value : values)
        if (!plausible(value)) return false;
    return true;
}

float clampToUnit(float value) {
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;  // NaN and -0.0 pass unchanged
}

void readValues(const unsigned char* bytes, bool swapped, float (&values)[kChunkValues]) {
    for (int i = 0; i < kChunkValues; ++i) {
        unsigned char word[4];
        std::memcpy(word, bytes + 4 * i, 4);
        if (swapped) {
            std::swap(word[0], word[3]);
            std::swap(word[1], word[2]);
        }
        std::memcpy(&values[i], word, 4);
    }
}

}  // namespace

void encodeChunk(const float (&values)[kChunkValues], unsigned char (&block)[kChunkBytes]) {
    std::memcpy(block, values, kChunkBytes);
}

bool decodeChunk(const void* data, std::int32_t byteSize, float (&values)[kChunkValues]) {
    if (data == nullptr || byteSize < kChunkBytes) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    float native[kChunkValues];
    readValues(bytes, false, native);
    if (!allPlausible(native)) {
        float swapped[kChunkValues];
        readValues(bytes, true, swapped);
        if (allPlausible(swapped)) {
            std::memcpy(values, swapped, sizeof values);
            return true;
        }
    }
    for (int i = 0; i < kChunkValues; ++i) values[i] = clampToUnit(native[i]);
    return true;
}

}  // namespace tovrel
