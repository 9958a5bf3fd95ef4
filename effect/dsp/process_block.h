// The scalar signal path over either precision and either arithmetic type: the per-block setup,
// then frames through both channels' chains and output stages, one frame after the other.
#pragma once

#include <cstdint>

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/section_design.h"
#include "effect/dsp/channel_chain.h"
#include "effect/dsp/channel_state.h"
#include "effect/dsp/output_stage.h"

namespace tovrel::dsp {

// A NaN or an infinity that reached the filters (from the input, from an absurd sample or from a
// parameter) would stay there for good: such a channel starts again from silence, at the first
// frame whose chain output shows it or at the next block at the latest.
template <typename T>
void recoverFilters(ChannelState<T>& c) {
    if (!filtersAreUsable(c)) clearFilters(c);
}

// Everything a block's frames depend on besides the samples: the values, the sections' design
// and usable filters.
template <typename T>
BlockValues prepareBlock(BasicSignalState<T>& state, float sampleRate,
                         const ParameterSnapshot& parameters) {
    const BlockValues values = computeBlockValues(sampleRate, parameters);
    designSections(state, values.cutoff);
    ChannelState<T> left = channelOf(state, Channel::Left);
    ChannelState<T> right = channelOf(state, Channel::Right);
    recoverFilters(left);
    recoverFilters(right);
    return values;
}

template <typename Path, typename T>
typename Path::Sample processSample(ChannelState<T>& c, const BlockValues& v,
                                    typename Path::Sample input) {
    const T dry = widenTo<T>(substituteTinyInput<Path>(input, c.fpd));
    const T wet = runChain(c, v, dry);
    if (!isFiniteValue(wet)) clearFilters(c);
    return finishSample<Path>(c, v, wet, dry);
}

// Frames [first, first + count). Inputs may be the very buffers of the outputs: each frame reads
// both inputs before it writes either output.
template <typename Path, typename T>
void processFrames(BasicSignalState<T>& state, const BlockValues& values,
                   const typename Path::Sample* const* inputs,
                   typename Path::Sample* const* outputs, std::int32_t first, std::int32_t count) {
    ChannelState<T> left = channelOf(state, Channel::Left);
    ChannelState<T> right = channelOf(state, Channel::Right);
    for (std::int32_t i = first; i < first + count; ++i) {
        const typename Path::Sample inL = inputs[0][i];
        const typename Path::Sample inR = inputs[1][i];
        const typename Path::Sample outL = processSample<Path>(left, values, inL);
        const typename Path::Sample outR = processSample<Path>(right, values, inR);
        outputs[0][i] = outL;
        outputs[1][i] = outR;
    }
}

}  // namespace tovrel::dsp
