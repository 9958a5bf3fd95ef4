// The per-block values: everything the per-sample loop needs that depends only on the sample
// rate and the parameters, computed once at the start of each processing call.
#pragma once

#include "effect/dsp/signal_state.h"

namespace tovrel::dsp {

struct BlockValues {
    double rateScale;
    double trim;
    double hiDrive, hiLevel;
    double loDrive, loLevel;
    double gain, dryWet;
    double inHighpassCoeff, midHighpassCoeff, loBandCoeff, hiBandCoeff;
    double cutoff;  // low-pass corner as a fraction of the sample rate
};

// Rates at or below this put the 19160 Hz corner at or above half the sample rate.
constexpr double kLowestFullRate = 38320.0;

// The rate the filters are designed for: a zero, negative or non-finite rate means nothing,
// so the effect falls back to the 44100 Hz a fresh instance assumes.
double designRate(float sampleRate);

BlockValues computeBlockValues(float sampleRate, const ParameterSnapshot& parameters);

}  // namespace tovrel::dsp
