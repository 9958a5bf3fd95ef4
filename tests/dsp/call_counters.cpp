#include "call_counters.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOVREL_INTERPOSE 0
#else
#define TOVREL_INTERPOSE 1
#endif

namespace tovrel::dsp::test {
namespace {

volatile bool counting = false;
CallCounts counts;

}  // namespace

bool callCountersAvailable() {
    return TOVREL_INTERPOSE != 0;
}

void startCounting() {
    counts = {};
    counting = true;
}

CallCounts stopCounting() {
    counting = false;
    return counts;
}

}  // namespace tovrel::dsp::test

#if TOVREL_INTERPOSE

using tovrel::dsp::test::counting;
using tovrel::dsp::test::counts;

// glibc's own allocator entry points, under the names it keeps for exactly this purpose.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) {
    if (counting) ++counts.allocations;
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    if (counting) ++counts.allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
    if (counting) ++counts.allocations;
    return __libc_realloc(block, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    if (counting) ++counts.allocations;
    return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    if (counting) ++counts.allocations;
    return __libc_memalign(alignment, size);
}
void free(void* block) {
    if (counting) ++counts.releases;
    __libc_free(block);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (counting) ++counts.locks;
    return next(mutex);
}
}

#endif
