// Whether this machine's glibc takes its fused multiply-add code paths; without them x86-64
// pow differs from PowerPC's in the last place for a few arguments.
#pragma once

namespace tovrel::render {

inline bool cpuHasFma() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
#else
    return true;
#endif
}

}  // namespace tovrel::render
