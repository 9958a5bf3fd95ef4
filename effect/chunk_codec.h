// The 20-byte parameter chunk: five single-precision values in index order, no header.
#pragma once

#include <cstdint>

namespace tovrel {

constexpr int kChunkValues = 5;
constexpr int kChunkBytes = 4 * kChunkValues;

// Writes the values in the machine's native byte order.
void encodeChunk(const float (&values)[kChunkValues], unsigned char (&block)[kChunkBytes]);

// Reads a chunk saved by this or by an opposite-endian build and clamps each value to 0..1.
// A null or short block is refused (answers false, values untouched): it cannot hold a
// complete setting and reading it would run past the host's memory.
bool decodeChunk(const void* data, std::int32_t byteSize, float (&values)[kChunkValues]);

}  // namespace tovrel
