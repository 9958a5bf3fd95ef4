// The per-instance signal state and the parameter values one processing call works with.
#pragma once

#include <cstdint>

#include "effect/dsp/number/arithmetic.h"

namespace tovrel::dsp {

// Layout of a low-pass section: cutoff, Q and the five coefficients, then each channel's two
// previous inputs and two previous outputs.
enum SectionElement : int {
    kCutoff = 0,
    kQ = 1,
    kA0 = 2,
    kA1 = 3,
    kA2 = 4,
    kB1 = 5,
    kB2 = 6,
    kHistoryL = 7,
    kHistoryR = 11,
    kSectionSize = 15,
};

// Written over the arithmetic type so that a plain-double copy of the signal path can run the
// same code; the plug-in's own state is SignalState below.
template <typename T>
struct BasicSignalState {
    T inHighpassL, midHighpassL, loBandL, loSmoothL, midBandL, hiHighpassL;
    T inHighpassR, midHighpassR, loBandR, loSmoothR, midBandR, hiHighpassR;
    T lowpassA[kSectionSize], lowpassB[kSectionSize], lowpassC[kSectionSize],
        lowpassD[kSectionSize];
    std::uint32_t fpdL, fpdR;  // noise states, seeded by the owner to values above 16385
};

// Persistent state of one instance; value-initialise it ({}) to start from silence.
struct SignalState : BasicSignalState<DoubleDouble> {};

// The five parameter values, read once at the start of each processing call.
struct ParameterSnapshot {
    float trim, hi, lo, gain, dryWet;
};

}  // namespace tovrel::dsp
