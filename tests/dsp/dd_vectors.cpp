#include "dd_vectors.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace tovrel::dsp::test {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kRecordSize = 56;

std::uint64_t littleEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

double doubleAt(const unsigned char* bytes) {
    const std::uint64_t bits = littleEndian(bytes, 8);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

DdCase decode(const unsigned char* record) {
    return {static_cast<DdOp>(record[0]),
            record[1],
            static_cast<std::uint32_t>(littleEndian(record + 4, 4)),
            doubleAt(record + 8),
            doubleAt(record + 16),
            doubleAt(record + 24),
            doubleAt(record + 32),
            doubleAt(record + 40),
            doubleAt(record + 48)};
}

}  // namespace

std::vector<DdCase> readDdVectors(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), "DDVEC001", 8) != 0) return {};
    const std::uint64_t count = littleEndian(&bytes[16], 8);
    if (littleEndian(&bytes[8], 4) != kHeaderSize || littleEndian(&bytes[12], 4) != kRecordSize ||
        bytes.size() != kHeaderSize + count * kRecordSize) {
        return {};
    }
    std::vector<DdCase> cases;
    cases.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        cases.push_back(decode(&bytes[kHeaderSize + i * kRecordSize]));
    }
    return cases;
}

}  // namespace tovrel::dsp::test
