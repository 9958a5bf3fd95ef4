#include "heap_usage.h"

#include <malloc.h>

#include "outcome.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// Provided by both sanitizer runtimes; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define TOVREL_SANITIZER_HEAP 1
#endif

namespace tovrel::validation {

std::size_t heapInUse() {
#if defined(TOVREL_SANITIZER_HEAP)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

void expectNoHeapGrowth(const std::string& what, int times, std::size_t allowance,
                        const std::function<void()>& step) {
    for (int i = 0; i < 10; ++i) step();
    const std::size_t before = heapInUse();
    for (int i = 0; i < times; ++i) step();
    const std::size_t after = heapInUse();
    if (after > before + allowance) {
        const std::size_t growth = after - before;
        throw CheckFailure(expectedSeen("no heap growth over " + std::to_string(times) + " " + what,
                                        std::to_string(growth) + " bytes more (" +
                                            std::to_string(growth / times) + " per cycle)"));
    }
}

}  // namespace tovrel::validation
