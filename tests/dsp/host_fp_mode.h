// Test helper: switches the calling thread into the modes audio hosts like to use, flushing
// subnormals to zero (x86 MXCSR FTZ and DAZ) and a directed rounding mode, and back.
#pragma once

#include <cfenv>
#include <cstdint>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace tovrel::dsp::test {

struct HostFpMode {
    int rounding;
    std::uint32_t mxcsr;
};

inline HostFpMode currentFpMode() {
#if defined(__SSE2__)
    return {std::fegetround(), _mm_getcsr()};
#else
    return {std::fegetround(), 0};
#endif
}

inline void setFpMode(const HostFpMode& mode) {
    std::fesetround(mode.rounding);
#if defined(__SSE2__)
    _mm_setcsr(mode.mxcsr);
#endif
}

// Flush-to-zero and denormals-are-zero where the processor has them, rounding towards zero.
inline HostFpMode flushingHostMode() {
    HostFpMode mode = currentFpMode();
    mode.rounding = FE_TOWARDZERO;
#if defined(__SSE2__)
    mode.mxcsr = (mode.mxcsr & ~0x6000u) | 0x8040u | 0x6000u;  // FTZ, DAZ, towards zero
#endif
    return mode;
}

}  // namespace tovrel::dsp::test
