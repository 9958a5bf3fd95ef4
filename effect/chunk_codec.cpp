#include "effect/chunk_codec.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace tovrel {
namespace {

// Byte order of a loaded chunk. A chunk saved by this build holds finite values of ordinary
// magnitude, in or out of 0..1 (setParameter stores out-of-range values, loading clamps them).
// A value no real save produces (NaN or infinity, a subnormal, a non-zero magnitude below 2^-24
// or above 2^24) suggests the bytes came from the opposite-endian build; the swapped reading is
// taken only when it is then clean: every value 0 or in [2^-24, 1]. Otherwise the native reading
// loads, clamped as always.
constexpr float kSmallestControl = 0x1p-24f;
constexpr float kLargestSaved = 0x1p24f;

bool savedByThisBuild(float value) {
    if (!std::isfinite(value)) return false;
    const float magnitude = std::fabs(value);
    return magnitude == 0.0f || (magnitude >= kSmallestControl && magnitude <= kLargestSaved);
}

bool cleanControl(float value) {
    return value == 0.0f || (value >= kSmallestControl && value <= 1.0f);
}

template <typename Predicate>
bool all(const float (&values)[kChunkValues], Predicate predicate) {
    for (float value : values)
        if (!predicate(value)) return false;
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
    if (!all(native, savedByThisBuild)) {
        float swapped[kChunkValues];
        readValues(bytes, true, swapped);
        if (all(swapped, cleanControl)) {
            std::memcpy(values, swapped, sizeof values);
            return true;
        }
    }
    for (int i = 0; i < kChunkValues; ++i) values[i] = clampToUnit(native[i]);
    return true;
}

}  // namespace tovrel
