// The tail of every frame: output gain, dry/wet mix, dither and the word that is written.
#pragma once

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/dither.h"
#include "effect/dsp/channel_state.h"

namespace tovrel::dsp {

// A gain or mix of exactly 1 is not applied at all, so the defaults pass the chain bit for bit.
template <typename Path, typename T>
typename Path::Sample finishSample(ChannelState<T>& c, const BlockValues& v, T wet, T dry) {
    if (v.gain != 1.0) wet = wet * widenTo<T>(v.gain);
    if (v.dryWet != 1.0) {
        const T mix = widenTo<T>(v.dryWet);
        const T dryShare = widenTo<T>(1.0 - v.dryWet);
        // The two channels write their wet products in opposite operand orders.
        wet = c.channel == Channel::Left ? (mix * wet) + (dry * dryShare)
                                         : (wet * mix) + (dry * dryShare);
    }
    return Path::narrow(highWord(addDither<Path>(wet, c.fpd)));
}

}  // namespace tovrel::dsp
