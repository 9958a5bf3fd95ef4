// Processing allocates nothing, locks nothing and makes no system call, in either precision and
// for blocks of any size. The C library's own allocator and lock entry points are interposed, so
// an allocation inside a statically linked C++ runtime is caught too; this is a program of its
// own for that reason.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <linux/seccomp.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace {
volatile long counting = 0, forbidden = 0;  // allocations, releases and locks while counting
// Inline, as sanitizer builds leave it unused.
inline void* counted(void* block) {
    if (counting) ++forbidden;
    return block;
}
}  // namespace

// Sanitizer runtimes bring allocators of their own, which cannot be interposed.
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

namespace tovrel::dsp::test {
namespace {

// The counting runs in a child in strict seccomp mode, where any system call but read, write and
// exit kills the process; its exit status tells what it found.
TEST(NoSystemCalls, NothingAllocatedLockedNorCalled) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer runtimes";
#endif
    Stereo<float> single(4096);
    Stereo<double> twice(4096);
    SignalState state = freshState();
    const auto processEverySize = [&] {
        for (std::int32_t frames : {0, 1, 64, 512, 4096}) {
            single.process(state, 44100.0f, kEverythingOn, 0, frames);
            twice.process(state, 96000.0f, kDefaults, 0, frames);
            single.process(state, 22050.0f, kDefaults, 0, frames);
        }
    };
    processEverySize();  // first calls bind their library functions
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
#if !defined(__powerpc__)  // the emulator makes system calls of its own
        if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) syscall(SYS_exit, 9);
#endif
        counting = 1;
        processEverySize();
        syscall(SYS_exit, forbidden == 0 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: allocated, released or locked; 9: no seccomp";
}

}  // namespace
}  // namespace tovrel::dsp::test
