// Both channels' filters and the block's constants in lane form, loaded from the signal state
// at the start of a chunk and written back only when the whole chunk came out exact. Filters run
// in pairs, each pair in one four-lane vector: the sections A beside B and C beside D.
#pragma once

#include <immintrin.h>

#include <initializer_list>

#include "effect/dsp/block_values.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/vector/lane_blocks.h"

namespace tovrel::dsp::vector {
namespace {

TOVREL_KERNEL_INLINE __m256d join(__m128d low, __m128d high) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
}
TOVREL_KERNEL_INLINE Lanes4 join(Lanes2 low, Lanes2 high) {
    return {join(low.hi, high.hi), join(low.lo, high.lo)};
}
TOVREL_KERNEL_INLINE Lanes2 lowHalf(Lanes4 x) {
    return {_mm256_castpd256_pd128(x.hi), _mm256_castpd256_pd128(x.lo)};
}
TOVREL_KERNEL_INLINE Lanes2 highHalf(Lanes4 x) {
    return {_mm256_extractf128_pd(x.hi, 1), _mm256_extractf128_pd(x.lo, 1)};
}

inline Lanes2 pairOf(const DoubleDouble& left, const DoubleDouble& right) {
    return {_mm_set_pd(right.hi, left.hi), _mm_set_pd(right.lo, left.lo)};
}

inline void storePair(Lanes2 x, DoubleDouble& left, DoubleDouble& right) {
    _mm_storel_pd(&left.hi, x.hi);
    _mm_storeh_pd(&right.hi, x.hi);
    _mm_storel_pd(&left.lo, x.lo);
    _mm_storeh_pd(&right.lo, x.lo);
}

// One section's history, both channels.
inline History<__m128d> historyOf(const DoubleDouble* section) {
    const DoubleDouble* l = section + kHistoryL;  // x1, x2, y1, y2 in this order
    const DoubleDouble* r = section + kHistoryR;
    return {pairOf(l[0], r[0]), pairOf(l[1], r[1]), pairOf(l[2], r[2]), pairOf(l[3], r[3])};
}

inline History<__m256d> join(const History<__m128d>& low, const History<__m128d>& high) {
    return {join(low.x1, high.x1), join(low.x2, high.x2), join(low.y1, high.y1),
            join(low.y2, high.y2)};
}

inline void storeHistory(const History<__m128d>& h, DoubleDouble* section) {
    DoubleDouble* l = section + kHistoryL;
    DoubleDouble* r = section + kHistoryR;
    storePair(h.x1, l[0], r[0]);
    storePair(h.x2, l[1], r[1]);
    storePair(h.y1, l[2], r[2]);
    storePair(h.y2, l[3], r[3]);
}

inline void storeHistories(const History<__m256d>& h, DoubleDouble* low, DoubleDouble* high) {
    storeHistory({lowHalf(h.x1), lowHalf(h.x2), lowHalf(h.y1), lowHalf(h.y2)}, low);
    storeHistory({highHalf(h.x1), highHalf(h.x2), highHalf(h.y1), highHalf(h.y2)}, high);
}

struct ChainFilters {
    Lanes4 highpasses;    // inHighpass beside midHighpass
    Lanes4 bands;         // loBand beside hiHighpass
    Lanes4 smoothAndMid;  // loSmooth beside midBand
    History<__m256d> sectionsAB, sectionsCD;

    explicit ChainFilters(const SignalState& s)
        : highpasses(
              join(pairOf(s.inHighpassL, s.inHighpassR), pairOf(s.midHighpassL, s.midHighpassR))),
          bands(join(pairOf(s.loBandL, s.loBandR), pairOf(s.hiHighpassL, s.hiHighpassR))),
          smoothAndMid(join(pairOf(s.loSmoothL, s.loSmoothR), pairOf(s.midBandL, s.midBandR))),
          sectionsAB(join(historyOf(s.lowpassA), historyOf(s.lowpassB))),
          sectionsCD(join(historyOf(s.lowpassC), historyOf(s.lowpassD))) {}

    // The arithmetic departs from the runtime's only where a high word becomes an infinity or a
    // NaN. From there on it stays non-finite through every later sum and product of the frame, and
    // the chain ends in a recurrence (every path reaches the last section's output history),
    // where it stays for good; only a saturator turns an infinity back into 1, and then both
    // arithmetics agree again. So a chunk whose filters all end finite was computed exactly.
    bool finite() const {
        __m256d bad = _mm256_setzero_pd();
        for (const Lanes4& x :
             {highpasses, bands, smoothAndMid, sectionsAB.x1, sectionsAB.x2, sectionsAB.y1,
              sectionsAB.y2, sectionsCD.x1, sectionsCD.x2, sectionsCD.y1, sectionsCD.y2}) {
            bad = vOr(bad, vOr(nonFinite(x.hi), nonFinite(x.lo)));
        }
        return anySet(bad) == 0;
    }

    void store(SignalState& s) const {
        storePair(lowHalf(highpasses), s.inHighpassL, s.inHighpassR);
        storePair(highHalf(highpasses), s.midHighpassL, s.midHighpassR);
        storePair(lowHalf(bands), s.loBandL, s.loBandR);
        storePair(highHalf(bands), s.hiHighpassL, s.hiHighpassR);
        storePair(lowHalf(smoothAndMid), s.loSmoothL, s.loSmoothR);
        storePair(highHalf(smoothAndMid), s.midBandL, s.midBandR);
        storeHistories(sectionsAB, s.lowpassA, s.lowpassB);
        storeHistories(sectionsCD, s.lowpassC, s.lowpassD);
    }
};

// All lanes of the low half at a, of the high half at b.
inline __m256d halves(double a, double b) {
    return join(_mm_set1_pd(a), _mm_set1_pd(b));
}

inline __m256d maskOf(bool low, bool high) {
    const __m128d on = _mm_castsi128_pd(_mm_set1_epi64x(-1)), off = _mm_setzero_pd();
    return join(low ? on : off, high ? on : off);
}

inline OnePole<__m256d> onePolesOf(double low, double high) {
    return {halves(1.0 - low, 1.0 - high), halves(low, high)};
}

inline Section<__m256d> sectionsOf(const DoubleDouble* low, const DoubleDouble* high) {
    const auto both = [&](int k) { return halves(low[k].hi, high[k].hi); };
    return {
        both(kA0), both(kA1), both(kA2), both(kB1), {both(kB2), halves(low[kB2].lo, high[kB2].lo)}};
}

struct ChainConstants {
    OnePole<__m256d> highpasses, bands, smoothAndMid;
    Section<__m256d> sectionsAB, sectionsCD;
    __m128d trim, loLevel, hiLevel;
    __m256d drives, drivesOn;  // the low band's drive beside the high band's
    bool trimOn, anyDrive;

    ChainConstants(const SignalState& s, const BlockValues& v)
        : highpasses(onePolesOf(v.inHighpassCoeff, v.midHighpassCoeff)),
          bands(onePolesOf(v.loBandCoeff, v.hiBandCoeff)),
          smoothAndMid(onePolesOf(v.loBandCoeff, v.hiBandCoeff)),
          sectionsAB(sectionsOf(s.lowpassA, s.lowpassB)),
          sectionsCD(sectionsOf(s.lowpassC, s.lowpassD)),
          trim(_mm_set1_pd(v.trim)),
          loLevel(_mm_set1_pd(v.loLevel)),
          hiLevel(_mm_set1_pd(v.hiLevel)),
          drives(halves(v.loDrive, v.hiDrive)),
          drivesOn(maskOf(v.loDrive != 1.0, v.hiDrive != 1.0)),
          trimOn(v.trim != 1.0),
          anyDrive(v.loDrive != 1.0 || v.hiDrive != 1.0) {}
};

}  // namespace
}  // namespace tovrel::dsp::vector
