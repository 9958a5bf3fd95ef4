#include "effect/dsp/block_values.h"

#include <cmath>
#include <initializer_list>

namespace tovrel::dsp {
namespace {

constexpr double kFallbackRate = 44100.0;
constexpr double kInverse44100 = 2.2675736961451248e-05;  // a product is cheaper than 1/44100
constexpr double kLowpassCorner = 19160.0;

// A negative level would be the square root of a negative number; such a band adds nothing.
double bandLevel(double value) {
    return value < 0.0 ? 0.0 : std::sqrt(value);
}

// Below the full rate the corner cannot be reached: the sections keep their 44100 Hz design,
// and a one-pole coefficient beyond 1 (a state overshooting its input) stops at 1.
void adaptToLowRate(BlockValues& values) {
    values.cutoff = kLowpassCorner / kFallbackRate;
    for (double* coeff : {&values.inHighpassCoeff, &values.midHighpassCoeff, &values.loBandCoeff,
                          &values.hiBandCoeff}) {
        if (*coeff > 1.0) *coeff = 1.0;
    }
}

}  // namespace

double designRate(float sampleRate) {
    const double rate = sampleRate;
    return rate > 0.0 && std::isfinite(rate) ? rate : kFallbackRate;
}

BlockValues computeBlockValues(float sampleRate, const ParameterSnapshot& parameters) {
    const double rate = designRate(sampleRate);
    const double trim = parameters.trim, hi = parameters.hi, lo = parameters.lo;
    BlockValues values{};
    values.rateScale = rate * kInverse44100;
    values.hiDrive = (hi * hi) * 4.0;
    values.trim = (trim * 10.0) * (trim * 10.0);
    values.hiLevel = bandLevel(hi);
    values.loDrive = (lo * lo) * 4.0;
    values.loLevel = bandLevel(lo);
    values.inHighpassCoeff = 0.001860867 / values.rateScale;
    values.gain = parameters.gain;
    values.dryWet = parameters.dryWet;
    values.hiBandCoeff = 0.236 / values.rateScale;
    values.midHighpassCoeff = 0.000287496 / values.rateScale;
    values.loBandCoeff = 0.159 / values.rateScale;
    values.cutoff = kLowpassCorner / rate;
    if (rate <= kLowestFullRate) adaptToLowRate(values);
    return values;
}

}  // namespace tovrel::dsp
