// The stages one channel's sample passes in every frame (named in chain_stages.h): high-passes,
// four low-pass sections with saturators between them, and a three-band split whose low and high
// bands are driven into saturators and mixed back at their levels.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/biquad.h"
#include "effect/dsp/blocks/one_pole.h"
#include "effect/dsp/blocks/saturator.h"
#include "effect/dsp/chain_stages.h"
#include "effect/dsp/channel_state.h"

namespace tovrel::dsp {

template <typename Path>
double substituteTinyInput(typename Path::Sample sample, std::uint32_t fpd) {  // kTinyInput
    const double x = sample;
    if (std::fabs(x) < Path::kTinyInput) return static_cast<double>(fpd) * Path::kTinyInput;
    return x;
}

template <typename T>
T lowpassSection(ChannelState<T>& c, int index, T x) {
    return biquadStep(c.sections[index], c.sections[index] + c.history, x);
}

template <typename T>
T splitAndRecombine(ChannelState<T>& c, const BlockValues& v, T x) {
    const T loBand = onePoleStep(c.loBand, v.loBandCoeff, x);             // kLoBand
    const T upper = x - loBand;                                           // kLoBand
    T low = loBand;                                                       // kLoDrive
    if (v.loDrive != 1.0) low = low * widenTo<T>(v.loDrive);              // kLoDrive
    low = saturate(low);                                                  // kLoSaturator
    const T loSmooth = onePoleStep(c.loSmooth, v.loBandCoeff, low);       // kLoSmooth
    const T midBand = onePoleStep(c.midBand, v.hiBandCoeff, upper);       // kMidBand
    const T rest = upper - midBand;                                       // kMidBand
    const T hiHighpass = onePoleStep(c.hiHighpass, v.hiBandCoeff, rest);  // kHiHighpass
    T high = rest - hiHighpass;                                           // kHiHighpass
    if (v.hiDrive != 1.0) high = high * widenTo<T>(v.hiDrive);            // kHiDrive
    high = saturate(high);                                                // kHiSaturator
    return ((midBand + loSmooth * widenTo<T>(v.loLevel)) + widenTo<T>(v.hiLevel) * high) *
           widenTo<T>(kRecombineGain);  // kRecombine
}

// From the input sample (after kTinyInput) to the chain output.
template <typename T>
T runChain(ChannelState<T>& c, const BlockValues& v, T x) {
    x = x - onePoleStep(c.inHighpass, v.inHighpassCoeff, x);    // kInHighpass
    if (v.trim != 1.0) x = x * widenTo<T>(v.trim);              // kTrim
    x = saturate(lowpassSection(c, 0, x));                      // kSectionA, kSaturatorA
    x = lowpassSection(c, 1, x);                                // kSectionB
    x = x - onePoleStep(c.midHighpass, v.midHighpassCoeff, x);  // kMidHighpass
    x = splitAndRecombine(c, v, x);                             // kLoBand .. kRecombine
    x = saturate(lowpassSection(c, 2, x));                      // kSectionC, kSaturatorC
    return lowpassSection(c, 3, x);                             // kSectionD
}

}  // namespace tovrel::dsp
