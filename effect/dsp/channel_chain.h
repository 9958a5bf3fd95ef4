// The sixteen stages one channel's sample passes in every frame: high-passes, four low-pass
// sections with saturators between them, and a three-band split whose low and high bands are
// driven into saturators and mixed back at their levels.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/biquad.h"
#include "effect/dsp/blocks/one_pole.h"
#include "effect/dsp/blocks/saturator.h"
#include "effect/dsp/channel_state.h"

namespace tovrel::dsp {

// Stage 1: silence and near-silence become the channel's noise state at the threshold's scale,
// so the filters never run on exact zeros.
template <typename Path>
double substituteTinyInput(typename Path::Sample sample, std::uint32_t fpd) {
    const double x = sample;
    if (std::fabs(x) < Path::kTinyInput) return static_cast<double>(fpd) * Path::kTinyInput;
    return x;
}

template <typename T>
T lowpassSection(ChannelState<T>& c, int index, T x) {
    return biquadStep(c.sections[index], c.sections[index] + c.history, x);
}

// Stages 8 to 13: low band, middle band and high band, recombined (times 4).
template <typename T>
T splitAndRecombine(ChannelState<T>& c, const BlockValues& v, T x) {
    const T loBand = onePoleStep(c.loBand, v.loBandCoeff, x);
    const T upper = x - loBand;
    T low = loBand;
    if (v.loDrive != 1.0) low = low * widenTo<T>(v.loDrive);
    const T loSmooth = onePoleStep(c.loSmooth, v.loBandCoeff, saturate(low));
    const T midBand = onePoleStep(c.midBand, v.hiBandCoeff, upper);
    const T rest = upper - midBand;
    const T hiHighpass = onePoleStep(c.hiHighpass, v.hiBandCoeff, rest);
    T high = rest - hiHighpass;
    if (v.hiDrive != 1.0) high = high * widenTo<T>(v.hiDrive);
    high = saturate(high);
    return ((midBand + loSmooth * widenTo<T>(v.loLevel)) + widenTo<T>(v.hiLevel) * high) *
           widenTo<T>(4.0);
}

// Stages 2 to 16, from the input sample (after stage 1) to the chain output.
template <typename T>
T runChain(ChannelState<T>& c, const BlockValues& v, T x) {
    x = x - onePoleStep(c.inHighpass, v.inHighpassCoeff, x);
    if (v.trim != 1.0) x = x * widenTo<T>(v.trim);
    x = saturate(lowpassSection(c, 0, x));
    x = lowpassSection(c, 1, x);
    x = x - onePoleStep(c.midHighpass, v.midHighpassCoeff, x);
    x = splitAndRecombine(c, v, x);
    x = saturate(lowpassSection(c, 2, x));
    return lowpassSection(c, 3, x);
}

}  // namespace tovrel::dsp
