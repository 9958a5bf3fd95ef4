// Bytes the process's allocator holds for the program right now, to find growth over a loop.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tovrel::validation {

std::size_t heapInUse();

// Runs `step` a few times to settle caches, then `times` times more; fails the check when the
// heap grew by more than `allowance` bytes over those.
void expectNoHeapGrowth(const std::string& what, int times, std::size_t allowance,
                        const std::function<void()>& step);

}  // namespace tovrel::validation
