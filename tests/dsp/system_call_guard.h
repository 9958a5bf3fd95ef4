// Runs a piece of work where any allocation, release, lock or system call is caught: the C
// library's allocator and lock entry points are interposed (so an allocation inside a statically
// linked C++ runtime is caught too) and the work runs in a child in strict seccomp mode. A test
// program that links this links the interposer with it, so it is a program of its own.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace tovrel::test {

// Sanitizer runtimes bring allocators of their own, which cannot be interposed.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kCallsInterposed = false;
#else
constexpr bool kCallsInterposed = true;
#endif

// Runs `work` once to bind its library functions, then again in the guarded child.
::testing::AssertionResult callsNothing(const std::function<void()>& work);

}  // namespace tovrel::test
