#include "realtime_guard.h"

#include <dlfcn.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>

namespace tovrel::validation {
namespace {
volatile int armed = 0;

// Only ends this thread's process: the guarded process is a single-threaded child.
[[noreturn]] void endGuarded(int status) {
    armed = 0;
    syscall(SYS_exit, status);
    __builtin_unreachable();
}

inline void* allocated(void* block) {
    if (armed) endGuarded(kGuardAllocated);
    return block;
}
}  // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
bool realtimeGuardAvailable() {
    return true;
}
#else
bool realtimeGuardAvailable() {
    return false;
}
#endif
void armRealtimeGuard() {
    armed = 1;
}
void disarmRealtimeGuard() {
    armed = 0;
}

}  // namespace tovrel::validation

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
using tovrel::validation::armed;

namespace {
template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
}  // namespace

// glibc's allocator under the names it keeps for exactly this purpose.
// Exported from the executable, so a plug-in's calls resolve here before the C library.
#define TOVREL_INTERPOSED __attribute__((visibility("default")))

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

TOVREL_INTERPOSED void* malloc(std::size_t size) {
    tovrel::validation::allocated(nullptr);
    return __libc_malloc(size);
}
TOVREL_INTERPOSED void* calloc(std::size_t count, std::size_t size) {
    tovrel::validation::allocated(nullptr);
    return __libc_calloc(count, size);
}
TOVREL_INTERPOSED void* realloc(void* block, std::size_t size) {
    tovrel::validation::allocated(nullptr);
    return __libc_realloc(block, size);
}
TOVREL_INTERPOSED void* aligned_alloc(std::size_t alignment, std::size_t size) {
    tovrel::validation::allocated(nullptr);
    return __libc_memalign(alignment, size);
}
TOVREL_INTERPOSED void* memalign(std::size_t alignment, std::size_t size) {
    tovrel::validation::allocated(nullptr);
    return __libc_memalign(alignment, size);
}
TOVREL_INTERPOSED int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    tovrel::validation::allocated(nullptr);
    *block = __libc_memalign(alignment, size);
    return *block == nullptr ? 12 : 0;  // ENOMEM
}
TOVREL_INTERPOSED void free(void* block) {
    if (armed && block != nullptr)
        tovrel::validation::endGuarded(tovrel::validation::kGuardReleased);
    __libc_free(block);
}

TOVREL_INTERPOSED int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const Lock real = next<Lock>("pthread_mutex_lock");
    if (armed) tovrel::validation::endGuarded(tovrel::validation::kGuardLocked);
    return real(mutex);
}
TOVREL_INTERPOSED int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const Lock real = next<Lock>("pthread_mutex_trylock");
    if (armed) tovrel::validation::endGuarded(tovrel::validation::kGuardLocked);
    return real(mutex);
}
TOVREL_INTERPOSED int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    using Lock = int (*)(pthread_rwlock_t*);
    static const Lock real = next<Lock>("pthread_rwlock_rdlock");
    if (armed) tovrel::validation::endGuarded(tovrel::validation::kGuardLocked);
    return real(lock);
}
TOVREL_INTERPOSED int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    using Lock = int (*)(pthread_rwlock_t*);
    static const Lock real = next<Lock>("pthread_rwlock_wrlock");
    if (armed) tovrel::validation::endGuarded(tovrel::validation::kGuardLocked);
    return real(lock);
}
TOVREL_INTERPOSED int pthread_spin_lock(pthread_spinlock_t* lock) {
    using Lock = int (*)(pthread_spinlock_t*);
    static const Lock real = next<Lock>("pthread_spin_lock");
    if (armed) tovrel::validation::endGuarded(tovrel::validation::kGuardLocked);
    return real(lock);
}
}
#endif
