// The chain of both channels as a software pipeline: at step i, stage k works on frame i - k and
// reads what stage k - 1 left in its latch at step i - 1. A stage's work is then independent of
// every other stage's within a step, so the processor overlaps twenty short dependency chains
// instead of waiting on one frame's long one. The sections pair up across the chain (A with C,
// B with D, and their saturators) in four-lane vectors, and the two one-poles of the middle band
// share one. Each stage keeps the scalar path's operations and their order; only the frames'
// interleaving differs.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/vector/chain_filters.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp::vector {
namespace {

inline std::uint32_t nextNoise(std::uint32_t fpd) {
    fpd ^= fpd << 13;
    fpd ^= fpd >> 17;
    fpd ^= fpd << 5;
    return fpd;
}

// Stage numbers: each is one frame behind the one before. The section pairs run stages
// 3 to 7 (A, then B) beside 16 to 20 (C, then D).
enum Stage : int {
    kInput = 0,
    kInHighpass = 1,
    kTrim = 2,
    kFeedForwardAC = 3,
    kFeedbackAC = 4,
    kSaturateAC = 5,
    kFeedForwardBD = 6,
    kFeedbackBD = 7,
    kMidHighpass = 8,
    kMidSplit = 9,
    kLoBand = 10,
    kLowDrive = 11,
    kSmoothAndMid = 12,
    kHighSplit = 13,
    kHighDrive = 14,
    kRecombine = 15,
    kPairDistance = 13,  // from A's stages to C's
    kLastStage = kFeedbackBD + kPairDistance,
};

template <typename Sample>
class ChainPipeline {
  public:
    ChainPipeline(const SignalState& s, const BlockValues& v, const Sample* left,
                  const Sample* right, int frames, Workspace& workspace)
        : c_(s, v),
          f_(s),
          left_(left),
          right_(right),
          frames_(frames),
          wetHigh_(workspace.wetHigh),
          wetLow_(workspace.wetLow),
          fpdL_(s.fpdL),
          fpdR_(s.fpdR) {}

    // Answers whether the chunk came out exact; only then are the filters written back.
    bool run(SignalState& s) {
        int i = 0;
        for (; i < kLastStage && i < frames_ + kLastStage; ++i) step<true>(i);
        for (; i < frames_; ++i) step<false>(i);
        for (; i < frames_ + kLastStage; ++i) step<true>(i);
        if (!f_.finite()) return false;
        f_.store(s);
        return true;
    }

  private:
    static constexpr double kTinyInput = sizeof(Sample) == sizeof(float) ? 1.18e-37 : 1.18e-43;

    template <bool Guarded>
    bool active(int i, int stage) const {
        return !Guarded || (i >= stage && i - stage < frames_);
    }

    // Later stages first, so that each reads its latch before its predecessor refills it. The
    // pairs both feed and are fed by the single stages between their halves, so C's input is
    // taken before the stage that makes it runs.
    template <bool Guarded>
    void step(int i) {
        const Lanes2 recombined = xL_;
        if (active<Guarded>(i, kRecombine)) xL_ = recombine();
        if (active<Guarded>(i, kHighDrive)) highDrive();
        if (active<Guarded>(i, kHighSplit)) highSplit();
        if (active<Guarded>(i, kSmoothAndMid)) smoothAndMid();
        if (active<Guarded>(i, kLowDrive)) lowDrive();
        if (active<Guarded>(i, kLoBand)) loBand();
        if (active<Guarded>(i, kMidSplit)) xF_ = subtract(xE_, sE_);
        if (active<Guarded>(i, kMidHighpass)) midHighpass();
        sectionPairs<Guarded>(i, recombined);
        if (active<Guarded>(i, kTrim)) trim();
        if (active<Guarded>(i, kInHighpass)) {
            xB_ = xA_;
            sB_ = onePoleStep(f_.inHighpass, c_.inHighpass, xA_);
        }
        if (active<Guarded>(i, kInput)) xA_ = dryInput(i);
    }

    template <bool Guarded>
    TOVREL_KERNEL_INLINE void sectionPairs(int i, Lanes2 recombined) {
        pair<Guarded>(i, kFeedbackBD, &f_.sectionsBD,
                      [&] { g7_ = biquadFeedback(f_.sectionsBD, c_.sectionsBD, g6_); });
        if (active<Guarded>(i, kLastStage)) storeWet(i - kLastStage, highHalf(g7_));
        pair<Guarded>(i, kFeedForwardBD, &f_.sectionsBD,
                      [&] { g6_ = biquadFeedForward(f_.sectionsBD, c_.sectionsBD, g5_); });
        pair<Guarded>(i, kSaturateAC, nullptr, [&] { g5_ = saturate(g4_); });
        pair<Guarded>(i, kFeedbackAC, &f_.sectionsAC,
                      [&] { g4_ = biquadFeedback(f_.sectionsAC, c_.sectionsAC, g3_); });
        pair<Guarded>(i, kFeedForwardAC, &f_.sectionsAC, [&] {
            g3_ = biquadFeedForward(f_.sectionsAC, c_.sectionsAC, join(xC_, recombined));
        });
    }

    // Runs one pair's work. While the pipeline fills or drains, a half whose stage has no frame
    // computes on stale latches: its filter state is then put back.
    template <bool Guarded, typename Work>
    TOVREL_KERNEL_INLINE void pair(int i, int early, History<__m256d>* history, Work work) {
        if (!Guarded) {
            work();
            return;
        }
        const bool low = active<true>(i, early), high = active<true>(i, early + kPairDistance);
        if (!low && !high) return;
        const __m128d on = _mm_castsi128_pd(_mm_set1_epi64x(-1)), off = _mm_setzero_pd();
        const __m256d mask = join(low ? on : off, high ? on : off);
        const History<__m256d> before = history != nullptr ? *history : History<__m256d>{};
        work();
        if (history == nullptr) return;
        Lanes4* const now[] = {&history->x1, &history->x2, &history->y1, &history->y2};
        const Lanes4 then[] = {before.x1, before.x2, before.y1, before.y2};
        for (int k = 0; k < 4; ++k) {
            *now[k] = {vSelect(then[k].hi, now[k]->hi, mask),
                       vSelect(then[k].lo, now[k]->lo, mask)};
        }
    }

    // Silence and near-silence become the noise state at the threshold's scale.
    TOVREL_KERNEL_INLINE Lanes2 dryInput(int i) {
        const __m128d x = _mm_set_pd(static_cast<double>(right_[i]), static_cast<double>(left_[i]));
        const __m128d threshold = _mm_set1_pd(kTinyInput);
        const __m128d noise = _mm_mul_pd(
            _mm_set_pd(static_cast<double>(fpdR_), static_cast<double>(fpdL_)), threshold);
        const __m128d tiny = _mm_cmp_pd(magnitude(x), threshold, _CMP_LT_OQ);
        fpdL_ = nextNoise(fpdL_);
        fpdR_ = nextNoise(fpdR_);
        return widenLanes(_mm_blendv_pd(x, noise, tiny));
    }

    TOVREL_KERNEL_INLINE void trim() {
        xC_ = subtract(xB_, sB_);
        if (c_.trimOn) xC_ = multiplyBy(xC_, c_.trim);
    }

    TOVREL_KERNEL_INLINE void midHighpass() {
        xE_ = lowHalf(g7_);
        sE_ = onePoleStep(f_.midHighpass, c_.midHighpass, xE_);
    }

    TOVREL_KERNEL_INLINE void loBand() {
        xG_ = xF_;
        lbG_ = onePoleStep(f_.loBand, c_.loBand, xF_);
    }

    TOVREL_KERNEL_INLINE void lowDrive() {
        upperH_ = subtract(xG_, lbG_);
        Lanes2 low = lbG_;
        if (c_.loDriveOn) low = multiplyBy(low, c_.loDrive);
        lowH_ = saturate(low);
    }

    // loSmooth from the saturated low band beside midBand from the upper band.
    TOVREL_KERNEL_INLINE void smoothAndMid() {
        upperI_ = upperH_;
        smoothMidI_ = onePoleStep(f_.smoothAndMid, c_.smoothAndMid, join(lowH_, upperH_));
    }

    TOVREL_KERNEL_INLINE void highSplit() {
        restJ_ = subtract(upperI_, highHalf(smoothMidI_));
        hpJ_ = onePoleStep(f_.hiHighpass, c_.hiBand, restJ_);
        smoothMidJ_ = smoothMidI_;
    }

    TOVREL_KERNEL_INLINE void highDrive() {
        Lanes2 high = subtract(restJ_, hpJ_);
        if (c_.hiDriveOn) high = multiplyBy(high, c_.hiDrive);
        highK_ = saturate(high);
        smoothMidK_ = smoothMidJ_;
    }

    // ((mid + smooth * loLevel) + hiLevel * high) * 4.
    TOVREL_KERNEL_INLINE Lanes2 recombine() {
        const Lanes2 smooth = lowHalf(smoothMidK_), mid = highHalf(smoothMidK_);
        const Lanes2 withLow = add(mid, multiplyBy(smooth, c_.loLevel));
        const Lanes2 all = add(withLow, multiplyBy(highK_, c_.hiLevel));
        return multiplyBy(all, _mm_set1_pd(4.0));
    }

    TOVREL_KERNEL_INLINE void storeWet(int frame, Lanes2 y) {
        _mm_store_pd(wetHigh_[frame], y.hi);
        _mm_store_pd(wetLow_[frame], y.lo);
    }

    ChainConstants c_;
    ChainFilters f_;
    const Sample* left_;
    const Sample* right_;
    int frames_;
    double (*wetHigh_)[2];
    double (*wetLow_)[2];
    std::uint32_t fpdL_, fpdR_;  // the noise states as the frame being read will see them
    // Latches, named by the stage that reads them; g3_ to g7_ are the section pairs' outputs.
    Lanes2 xA_{}, xB_{}, sB_{}, xC_{}, xE_{}, sE_{}, xF_{}, xG_{}, lbG_{}, upperH_{}, lowH_{},
        upperI_{}, restJ_{}, hpJ_{}, highK_{}, xL_{};
    Lanes4 g3_{}, g4_{}, g5_{}, g6_{}, g7_{}, smoothMidI_{}, smoothMidJ_{}, smoothMidK_{};
};

}  // namespace
}  // namespace tovrel::dsp::vector
