// Repeatable inputs and result digests shared by the maths tests and the sweep tool: the
// splitmix64 generator and the 64-bit FNV-1a hash over result patterns, as the published hash
// checks define them.
#pragma once

#include <cstdint>

namespace tovrel::dsp::maths::test {

class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        state_ += 0x9e3779b97f4a7c15u;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_;
};

// FNV-1a over the 8 bytes of each pattern, least significant byte first.
class Fnv1a {
  public:
    void add(std::uint64_t pattern) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((pattern >> (8 * i)) & 0xff)) * 0x100000001b3u;
        }
    }
    void add(double v) { add(__builtin_bit_cast(std::uint64_t, v)); }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325u;
};

// Draws are scaled down this much where the tests run slowly: under an emulator or sanitizers,
// or without optimisation.
#ifdef TOVREL_MATHS_SHORT_RUN
inline constexpr int kShortRunDivisor = 4;
#else
inline constexpr int kShortRunDivisor = 1;
#endif

}  // namespace tovrel::dsp::maths::test
