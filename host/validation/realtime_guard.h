// The validator process's own allocator and lock entry points, interposed so that an
// allocation, release or lock inside processing ends the guarded process at once with a
// status saying which.
#pragma once

namespace tovrel::validation {

enum GuardStatus : int {
    kGuardClean = 0,
    kGuardAllocated = 3,
    kGuardReleased = 4,
    kGuardLocked = 5,
    kGuardUnavailable = 6,
};

// False in sanitizer builds, whose runtimes bring allocators that cannot be interposed.
bool realtimeGuardAvailable();

void armRealtimeGuard();
void disarmRealtimeGuard();

}  // namespace tovrel::validation
