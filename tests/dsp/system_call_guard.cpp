#include "system_call_guard.h"

#include <dlfcn.h>
#include <linux/seccomp.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
volatile long counting = 0, forbidden = 0;  // allocations, releases and locks while counting
// Inline, as sanitizer builds leave it unused.
inline void* counted(void* block) {
    if (counting) ++forbidden;
    return block;
}
}  // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// glibc's allocator under the names it keeps for exactly this purpose.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) {
    return counted(__libc_malloc(size));
}
void* calloc(std::size_t count, std::size_t size) {
    return counted(__libc_calloc(count, size));
}
void* realloc(void* block, std::size_t size) {
    return counted(__libc_realloc(block, size));
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return counted(__libc_memalign(alignment, size));
}
void free(void* block) {
    __libc_free(counted(block));
}
int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    counted(mutex);
    return next(mutex);
}
}
#endif

namespace tovrel::test {

// In strict seccomp mode any system call but read, write and exit kills the child; its exit
// status tells what it found.
::testing::AssertionResult callsNothing(const std::function<void()>& work) {
    work();
    const pid_t child = fork();
    if (child < 0) return ::testing::AssertionFailure() << "fork failed";
    if (child == 0) {
#if !defined(TOVREL_UNDER_EMULATOR)  // the emulator makes system calls of its own
        if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) syscall(SYS_exit, 9);
#endif
        counting = 1;
        work();
        syscall(SYS_exit, forbidden == 0 ? 0 : 3);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return ::testing::AssertionFailure() << "lost child";
    if (!WIFEXITED(status)) {
        return ::testing::AssertionFailure()
               << "killed by signal " << WTERMSIG(status) << " (a system call)";
    }
    switch (WEXITSTATUS(status)) {
        case 0:
            return ::testing::AssertionSuccess();
        case 3:
            return ::testing::AssertionFailure() << "allocated, released or locked";
        case 9:
            return ::testing::AssertionFailure() << "no seccomp";
        default:
            return ::testing::AssertionFailure() << "exit status " << WEXITSTATUS(status);
    }
}

}  // namespace tovrel::test
