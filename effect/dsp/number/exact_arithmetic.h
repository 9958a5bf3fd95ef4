// The signal path must round exactly as written: no fused or reassociated operations, and
// doubles held in 64-bit registers, whatever flags the including program was built with.
#pragma once

#if defined(__FAST_MATH__)
#error "the signal path cannot be built with -ffast-math: it changes the sound"
#endif

#if (defined(__i386__) || defined(__x86_64__)) && !defined(__SSE2_MATH__)
#error "the signal path needs SSE2 doubles (-msse2 -mfpmath=sse), not x87"
#endif

#if defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "the signal path tests for infinities and NaN: build without -ffinite-math-only"
#endif
