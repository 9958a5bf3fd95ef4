// Real-time safety: no allocation, release, lock or system call inside processing. The guarded
// processing runs in a child that the kernel's strict seccomp mode kills on any system call but
// read, write and exit, with this process's allocator and lock entries interposed.
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "audio.h"
#include "check.h"
#include "instance.h"
#include "realtime_guard.h"
#include "runner.h"

namespace tovrel::validation {
namespace {

constexpr int kBlock = 512;
constexpr int kBlocks = 32;

template <typename Sample>
void processAll(Instance& instance, Channels<Sample>& in, Channels<Sample>& out) {
    for (int block = 0; block < kBlocks; ++block) {
        processBlock(instance, in, out, block * kBlock, kBlock);
    }
}

std::string statusText(int status) {
    if (WIFSIGNALED(status)) {
        if (WTERMSIG(status) == SIGKILL) return "a system call";
        return "a crash (signal " + std::to_string(WTERMSIG(status)) + ")";
    }
    switch (WEXITSTATUS(status)) {
        case kGuardAllocated:
            return "an allocation";
        case kGuardReleased:
            return "a release of memory";
        case kGuardLocked:
            return "a lock";
        case kGuardUnavailable:
            return "no seccomp in this kernel";
        default:
            return "exit status " + std::to_string(WEXITSTATUS(status));
    }
}

template <typename Sample>
Outcome guarded(const CheckContext& context) {
    if (!realtimeGuardAvailable()) {
        return skipped("sanitizer runtimes bring allocators that cannot be interposed");
    }
    PluginUnderTest plugin(context.pluginPath);
    auto instance = plugin.create(context.seed);
    if (sizeof(Sample) == sizeof(double) && !instance->offersDouble()) {
        return skipped("no double-precision processing offered");
    }
    instance->start(44100.0, kBlock);
    auto in = whiteNoise<Sample>(instance->numInputs(), kBlocks * kBlock, context.seed);
    Channels<Sample> out(instance->numOutputs(), kBlocks * kBlock);
    noteStep("processing before the guard");
    processAll(*instance, in, out);  // first calls bind their library functions
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return failed("cannot fork the guarded process");
    if (child == 0) {
        if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) syscall(SYS_exit, kGuardUnavailable);
        armRealtimeGuard();
        processAll(*instance, in, out);
        disarmRealtimeGuard();
        syscall(SYS_exit, kGuardClean);
    }
    int status = 0;
    noteStep("processing under the guard");
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kGuardClean) return passed();
    if (WIFEXITED(status) && WEXITSTATUS(status) == kGuardUnavailable) {
        return skipped("the kernel refuses strict seccomp mode");
    }
    return failed(std::string(precisionName(in)) + " processing: " +
                  expectedSeen("no allocation, lock or system call", statusText(status)));
}

}  // namespace

void addRealtimeChecks(std::vector<Check>& checks) {
    checks.push_back({"realtime.float", 6, 60.0, guarded<float>});
    checks.push_back({"realtime.double", 6, 60.0, guarded<double>});
}

}  // namespace tovrel::validation
