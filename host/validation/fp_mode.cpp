#include "fp_mode.h"

#include <cfenv>
#include <cstdio>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#define TOVREL_X86 1
#endif

namespace tovrel::validation {
namespace {

#if defined(TOVREL_X86)
constexpr unsigned kSseFlags = 0x3f;  // sticky exception flags
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;
constexpr unsigned kSseRoundingBits = 0x6000;
constexpr unsigned kSseTowardZero = 0x6000;
#endif

}  // namespace

FpMode currentFpMode() {
    FpMode mode;
#if defined(TOVREL_X86)
    mode.sse = _mm_getcsr() & ~kSseFlags;
    unsigned short word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    mode.x87 = word;
#endif
    mode.rounding = std::fegetround();
    return mode;
}

void setFpMode(const FpMode& mode) {
    std::fesetround(mode.rounding);
#if defined(TOVREL_X86)
    _mm_setcsr(mode.sse);
    unsigned short word = static_cast<unsigned short>(mode.x87);
    __asm__ volatile("fldcw %0" : : "m"(word));
#endif
}

FpMode defaultFpMode() {
    static const FpMode initial = currentFpMode();
    return initial;
}

FpMode flushingFpMode(const FpMode& from) {
    FpMode mode = from;
#if defined(TOVREL_X86)
    mode.sse |= kFlushToZero | kDenormalsAreZero;
#endif
    return mode;
}

FpMode truncatingFpMode(const FpMode& from) {
    FpMode mode = from;
    mode.rounding = FE_TOWARDZERO;
#if defined(TOVREL_X86)
    mode.sse = (mode.sse & ~kSseRoundingBits) | kSseTowardZero;
    mode.x87 |= 0x0c00;  // x87 rounding control: toward zero
#endif
    return mode;
}

std::string fpModeText(const FpMode& mode) {
    char text[96];
    std::snprintf(text, sizeof text, "MXCSR 0x%04x, x87 0x%04x, rounding %s", mode.sse, mode.x87,
                  mode.rounding == FE_TONEAREST    ? "to nearest"
                  : mode.rounding == FE_TOWARDZERO ? "toward zero"
                  : mode.rounding == FE_UPWARD     ? "upward"
                                                   : "downward");
    return text;
}

}  // namespace tovrel::validation
