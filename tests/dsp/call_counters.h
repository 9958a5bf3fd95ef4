// Counts of the calls a processing call must never make, caught at the C library's own entry
// points (malloc and friends, pthread_mutex_lock), so an allocation hidden inside a statically
// linked runtime is caught too. Only counts while counting() is on.
#pragma once

namespace tovrel::dsp::test {

// False in sanitizer builds, whose allocators cannot be interposed.
bool callCountersAvailable();

struct CallCounts {
    long allocations = 0;
    long releases = 0;
    long locks = 0;
};

void startCounting();
CallCounts stopCounting();

}  // namespace tovrel::dsp::test
