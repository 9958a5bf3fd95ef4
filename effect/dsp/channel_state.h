// One channel's share of the signal state: its six one-pole states, its half of each section's
// history and its noise state. The sections' coefficients are shared by both channels.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "effect/dsp/number/arithmetic.h"
#include "effect/dsp/signal_state.h"

namespace tovrel::dsp {

enum class Channel { Left, Right };

template <typename T>
struct ChannelState {
    Channel channel;
    T& inHighpass;
    T& midHighpass;
    T& loBand;
    T& loSmooth;
    T& midBand;
    T& hiHighpass;
    T* sections[4];  // lowpassA..lowpassD
    int history;     // offset of this channel's history in each section
    std::uint32_t& fpd;
};

template <typename T>
ChannelState<T> channelOf(BasicSignalState<T>& s, Channel channel) {
    const bool left = channel == Channel::Left;
    // clang-format off
    return {channel,
            left ? s.inHighpassL : s.inHighpassR, left ? s.midHighpassL : s.midHighpassR,
            left ? s.loBandL : s.loBandR,         left ? s.loSmoothL : s.loSmoothR,
            left ? s.midBandL : s.midBandR,       left ? s.hiHighpassL : s.hiHighpassR,
            {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD},
            left ? kHistoryL : kHistoryR,
            left ? s.fpdL : s.fpdR};
    // clang-format on
}

// Beyond this a filter value can only come from a sample no audio has (anything up to 2^64 stays
// far below it), and the next sums through it may overflow.
constexpr double kLargestUsableState = 0x1p1000;

template <typename T>
bool usableState(T x) {
    return std::fabs(highWord(x)) <= kLargestUsableState && std::isfinite(lowWord(x));
}

template <typename T>
bool filtersAreUsable(const ChannelState<T>& c) {
    for (const T* state :
         {&c.inHighpass, &c.midHighpass, &c.loBand, &c.loSmooth, &c.midBand, &c.hiHighpass}) {
        if (!usableState(*state)) return false;
    }
    for (const T* section : c.sections) {
        for (int i = 0; i < 4; ++i) {
            if (!usableState(section[c.history + i])) return false;
        }
    }
    return true;
}

// Back to silence: a NaN or an infinity left in the filters would otherwise stay forever.
// The noise state is an integer and cannot be poisoned; it carries on.
template <typename T>
void clearFilters(ChannelState<T>& c) {
    for (T* state :
         {&c.inHighpass, &c.midHighpass, &c.loBand, &c.loSmooth, &c.midBand, &c.hiHighpass}) {
        *state = T{};
    }
    for (T* section : c.sections) {
        for (int i = 0; i < 4; ++i) section[c.history + i] = T{};
    }
}

}  // namespace tovrel::dsp
