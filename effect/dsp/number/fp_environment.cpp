// Only a register read and write per call: no library call, no system call.
#include "effect/dsp/number/fp_environment.h"

#include <cstring>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace tovrel::dsp {
namespace {

#if defined(__SSE2__)

// MXCSR: every exception masked, round to nearest, FTZ (bit 15) and DAZ (bit 6) off.
constexpr std::uint32_t kSignalPathMxcsr = 0x1f80;

std::uint64_t swapIn() {
    const std::uint32_t host = _mm_getcsr();
    _mm_setcsr(kSignalPathMxcsr);
    return host;
}
void swapOut(std::uint64_t host) {
    _mm_setcsr(static_cast<std::uint32_t>(host));
}

#elif defined(__powerpc__) && !defined(_SOFT_FLOAT)

// FPSCR fields 6 and 7 (bits 24 to 31): exception enables, non-IEEE mode and rounding mode.
// All zero is round to nearest, IEEE subnormals, no traps; the status bits stay untouched.
std::uint64_t swapIn() {
    double image = 0.0;
    __asm__ __volatile__("mffs %0" : "=f"(image));
    const double signalPath = 0.0;
    __asm__ __volatile__("mtfsf 0x03, %0" : : "f"(signalPath));
    std::uint64_t host = 0;
    std::memcpy(&host, &image, sizeof host);
    return host;
}
void swapOut(std::uint64_t host) {
    double image = 0.0;
    std::memcpy(&image, &host, sizeof image);
    __asm__ __volatile__("mtfsf 0xff, %0" : : "f"(image));
}

#elif defined(__aarch64__)

// FPCR all zero: round to nearest, no flush-to-zero (FZ, FZ16), no default NaN, no traps.
std::uint64_t swapIn() {
    std::uint64_t host = 0;
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(host));
    __asm__ __volatile__("msr fpcr, %0" : : "r"(std::uint64_t{0}));
    return host;
}
void swapOut(std::uint64_t host) {
    __asm__ __volatile__("msr fpcr, %0" : : "r"(host));
}

#else

// Elsewhere the thread's defaults are assumed to hold.
std::uint64_t swapIn() {
    return 0;
}
void swapOut(std::uint64_t) {}

#endif

}  // namespace

FpEnvironmentGuard::FpEnvironmentGuard() : saved_(swapIn()) {}

FpEnvironmentGuard::~FpEnvironmentGuard() {
    swapOut(saved_);
}

}  // namespace tovrel::dsp
