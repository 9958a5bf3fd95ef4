// Two noise seeds passed between the host's thread and the audio thread with neither a lock nor
// a 64-bit atomic (32-bit PowerPC has none without libatomic): a sequence count, odd while its
// one writer is storing the words, lets a reader tell a whole pair from a torn one.
#pragma once

#include <atomic>
#include <cstdint>

namespace tovrel {

class SeedPair {
  public:
    // One writing thread at a time.
    // No fences (ThreadSanitizer does not model them): the acquiring increment keeps the word
    // stores after it, the releasing store keeps them before.
    void write(std::uint32_t left, std::uint32_t right) {
        const std::uint32_t start = sequence_.fetch_add(1, std::memory_order_acquire) + 1;
        left_.store(left, std::memory_order_relaxed);
        right_.store(right, std::memory_order_relaxed);
        sequence_.store(start + 1, std::memory_order_release);
    }

    // Never waits: answers false while a write is under way. `version` tells writes apart.
    bool tryRead(std::uint32_t& left, std::uint32_t& right, std::uint32_t& version) const {
        version = sequence_.load(std::memory_order_acquire);
        if (version % 2 != 0) return false;
        // Acquiring word loads keep the second look at the count after them.
        left = left_.load(std::memory_order_acquire);
        right = right_.load(std::memory_order_acquire);
        return sequence_.load(std::memory_order_relaxed) == version;
    }

    std::uint32_t version() const { return sequence_.load(std::memory_order_acquire); }

  private:
    std::atomic<std::uint32_t> sequence_{0};
    std::atomic<std::uint32_t> left_{0}, right_{0};
};

}  // namespace tovrel
