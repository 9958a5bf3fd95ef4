// 64-bit FNV-1a over whole words, fed least significant byte first on every platform.
#pragma once

#include <cstdint>

namespace tovrel::render {

class Fnv64 {
  public:
    void add(std::uint64_t word) {
        for (int byte = 0; byte < 8; ++byte) {
            value_ ^= (word >> (8 * byte)) & 0xffu;
            value_ *= 0x100000001b3u;
        }
    }
    std::uint64_t value() const { return value_; }

  private:
    std::uint64_t value_ = 0xcbf29ce484222325u;
};

}  // namespace tovrel::render
