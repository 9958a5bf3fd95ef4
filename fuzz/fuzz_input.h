// Reads a fuzzer's bytes as a stream of small values; past the end every read gives zero.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace tovrel::fuzz {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return used_ >= size_; }

    template <typename Value>
    Value take() {
        Value value{};
        const std::size_t n = std::min(sizeof value, size_ - std::min(used_, size_));
        std::memcpy(&value, data_ + used_, n);
        used_ += n;
        return value;
    }

    // Up to `most` bytes, as a string (may hold zero bytes).
    std::string bytes(std::size_t most) {
        const std::size_t n = std::min<std::size_t>(take<std::uint8_t>() % (most + 1),
                                                    size_ - std::min(used_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + used_), n);
        used_ += n;
        return text;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

}  // namespace tovrel::fuzz
