// Both channels' filters and the block's constants in lane form, loaded from the signal state
// at the start of a chunk and written back only when the whole chunk came out exact.
#pragma once

#include <immintrin.h>

#include "effect/dsp/block_values.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/vector/lane_blocks.h"

namespace tovrel::dsp::vector {
namespace {

inline Lanes pairOf(const DoubleDouble& left, const DoubleDouble& right) {
    return {_mm_set_pd(right.hi, left.hi), _mm_set_pd(right.lo, left.lo)};
}

inline void storePair(Lanes x, DoubleDouble& left, DoubleDouble& right) {
    _mm_storel_pd(&left.hi, x.hi);
    _mm_storeh_pd(&right.hi, x.hi);
    _mm_storel_pd(&left.lo, x.lo);
    _mm_storeh_pd(&right.lo, x.lo);
}

struct ChainFilters {
    Lanes inHighpass, midHighpass, loBand, loSmooth, midBand, hiHighpass;
    History history[4];

    explicit ChainFilters(const SignalState& s)
        : inHighpass(pairOf(s.inHighpassL, s.inHighpassR)),
          midHighpass(pairOf(s.midHighpassL, s.midHighpassR)),
          loBand(pairOf(s.loBandL, s.loBandR)),
          loSmooth(pairOf(s.loSmoothL, s.loSmoothR)),
          midBand(pairOf(s.midBandL, s.midBandR)),
          hiHighpass(pairOf(s.hiHighpassL, s.hiHighpassR)) {
        const DoubleDouble* sections[] = {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD};
        for (int k = 0; k < 4; ++k) {
            const DoubleDouble* l = sections[k] + kHistoryL;
            const DoubleDouble* r = sections[k] + kHistoryR;
            // The state keeps x1, x2, y1, y2 in this order.
            history[k] = {pairOf(l[0], r[0]), pairOf(l[1], r[1]), pairOf(l[2], r[2]),
                          pairOf(l[3], r[3])};
        }
    }

    void store(SignalState& s) const {
        storePair(inHighpass, s.inHighpassL, s.inHighpassR);
        storePair(midHighpass, s.midHighpassL, s.midHighpassR);
        storePair(loBand, s.loBandL, s.loBandR);
        storePair(loSmooth, s.loSmoothL, s.loSmoothR);
        storePair(midBand, s.midBandL, s.midBandR);
        storePair(hiHighpass, s.hiHighpassL, s.hiHighpassR);
        DoubleDouble* sections[] = {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD};
        for (int k = 0; k < 4; ++k) {
            DoubleDouble* l = sections[k] + kHistoryL;
            DoubleDouble* r = sections[k] + kHistoryR;
            const History& h = history[k];
            storePair(h.x1, l[0], r[0]);
            storePair(h.x2, l[1], r[1]);
            storePair(h.y1, l[2], r[2]);
            storePair(h.y2, l[3], r[3]);
        }
    }
};

inline OnePole onePoleOf(double coeff) {
    return {broadcast(1.0 - coeff), broadcast(coeff)};
}

struct ChainConstants {
    OnePole inHighpass, midHighpass, loBand, hiBand;
    Section sections[4];
    __m128d trim, loDrive, hiDrive, loLevel, hiLevel;
    bool trimOn, loDriveOn, hiDriveOn;

    ChainConstants(const SignalState& s, const BlockValues& v)
        : inHighpass(onePoleOf(v.inHighpassCoeff)),
          midHighpass(onePoleOf(v.midHighpassCoeff)),
          loBand(onePoleOf(v.loBandCoeff)),
          hiBand(onePoleOf(v.hiBandCoeff)),
          trim(broadcast(v.inputTrim)),
          loDrive(broadcast(v.loDrive)),
          hiDrive(broadcast(v.hiDrive)),
          loLevel(broadcast(v.loLevel)),
          hiLevel(broadcast(v.hiLevel)),
          trimOn(v.inputTrim != 1.0),
          loDriveOn(v.loDrive != 1.0),
          hiDriveOn(v.hiDrive != 1.0) {
        const DoubleDouble* from[] = {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD};
        for (int k = 0; k < 4; ++k) {
            const DoubleDouble* c = from[k];
            sections[k] = {broadcast(c[kA0].hi),
                           broadcast(c[kA1].hi),
                           broadcast(c[kA2].hi),
                           broadcast(c[kB1].hi),
                           {broadcast(c[kB2].hi), broadcast(c[kB2].lo)}};
        }
    }
};

}  // namespace
}  // namespace tovrel::dsp::vector
