// Reader for the double-double reference vectors measured on 32-bit PowerPC (format in
// data/dd-vectors.md). The file is little-endian; reading assembles bytes, so any host works.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovrel::dsp::test {

enum class DdOp : std::uint8_t { Add, Sub, Mul, Div, Compare, Convert };

struct DdCase {
    DdOp op;
    std::uint8_t kind;  // the generator's class of operands
    std::uint32_t index;
    double aHigh, aLow, bHigh, bLow, resultHigh, resultLow;
};

// Empty when the file cannot be read or its header is not the expected one.
std::vector<DdCase> readDdVectors(const std::string& path);

}  // namespace tovrel::dsp::test
