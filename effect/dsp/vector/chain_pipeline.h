// The chain of both channels as a software pipeline (its steps and the scalar stages each
// performs are in pipeline_steps.h): at pipeline step i, step k works on frame i - k and reads
// what step k - 1 left in its latch at pipeline step i - 1. A step's work is then independent of
// every other step's, so the processor overlaps twenty-odd short dependency chains instead of
// waiting on one frame's long one. Each step keeps the scalar path's operations and their
// order; only the frames' interleaving differs.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <utility>

#include "effect/dsp/blocks/dither.h"
#include "effect/dsp/vector/chain_filters.h"
#include "effect/dsp/vector/lane_pow.h"
#include "effect/dsp/vector/pipeline_steps.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp::vector {
namespace {

// The dither's xorshift step. A copy of its own: a shared inline function compiled here could
// stand in for the portable code's copy of it.
inline std::uint32_t nextNoise(std::uint32_t fpd) {
    fpd ^= fpd << kNoiseShiftUp;
    fpd ^= fpd >> kNoiseShiftDown;
    fpd ^= fpd << kNoiseShiftUpAgain;
    return fpd;
}

// A latch read some steps after it is written: push() once every step, and what was pushed
// d steps ago is at(d).
template <typename T, int Depth>
class DelayLine {
  public:
    TOVREL_KERNEL_INLINE void push(const T& x) {
        shift(std::make_index_sequence<Depth - 1>());
        slots_[0] = x;
    }
    TOVREL_KERNEL_INLINE const T& at(int stepsAgo) const { return slots_[stepsAgo - 1]; }

  private:
    // Oldest first, spelled out: as a loop it would become a call to memmove.
    template <std::size_t... K>
    TOVREL_KERNEL_INLINE void shift(std::index_sequence<K...>) {
        ((slots_[Depth - 1 - K] = slots_[Depth - 2 - K]), ...);
    }

    T slots_[Depth]{};
};

// A pair's filter state while the pipeline fills or drains: a half without a frame gets its
// state back.
struct NoState {};
inline void restore(NoState&, const NoState&, __m256d) {}
inline void restore(Lanes4& now, const Lanes4& then, __m256d keep) {
    now = {vSelect(then.hi, now.hi, keep), vSelect(then.lo, now.lo, keep)};
}
inline void restore(History<__m256d>& now, const History<__m256d>& then, __m256d keep) {
    restore(now.x1, then.x1, keep);
    restore(now.x2, then.x2, keep);
    restore(now.y1, then.y1, keep);
    restore(now.y2, then.y2, keep);
}

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
        for (; i < kLastStep && i < frames_ + kLastStep; ++i) step<true>(i);
        for (; i < frames_; ++i) step<false>(i);
        for (; i < frames_ + kLastStep; ++i) step<true>(i);
        if (!f_.finite()) return false;
        f_.store(s);
        return true;
    }

  private:
    // Taken first and together, the two long chains of the saturators' powers overlap each other
    // and the step's other work; each in its own place, they ran nearly in turn.
    struct Saturators {
        Lanes4 upperAndHigh, driven, sections;
        __m256d drivenPowers, sectionPowers;
    };

    template <bool Guarded>
    bool active(int i, int step) const {
        return !Guarded || (i >= step && i - step < frames_);
    }

    // Later steps first, so that each reads its latch before its predecessor refills it. A pair
    // both feeds and is fed by the steps between its halves, so the inputs of its later half
    // are taken before anything runs.
    template <bool Guarded>
    void step(int i) {
        const Saturators saturators = Guarded ? Saturators{} : saturatorsAhead();
        const Lanes2 recombined = recombined_, rest = rest_, sectionOutput = highHalf(sectionsAB_);
        if (active<Guarded>(i, kRecombineStep)) recombined_ = recombine();
        if (active<Guarded>(i, kRestStep))
            rest_ = subtract(upper_, highHalf(smoothAndMid_.at(kRestStep - kSmoothMidPair)));
        smoothAndMid_.push(active<Guarded>(i, kSmoothMidPair) ? smoothAndMid() : Lanes4{});
        NoState none;
        pair<Guarded>(i, kDrivePair, kBandDistance, none,
                      [&](bool low, bool high) { drives<Guarded>(low, high, saturators); });
        pair<Guarded>(i, kBandPair, kBandDistance, f_.bands, [&](bool, bool) {
            bandsIn_ = join(middle_, rest);
            bandsOut_ = onePoleStep(f_.bands, c_.bands, bandsIn_);
        });
        sectionPairs<Guarded>(i, recombined, saturators);
        pair<Guarded>(i, kHighpassOutputPair, kHighpassDistance, none, [&](bool, bool) {
            const Lanes4 y = subtract(highpassesIn_, highpassesOut_);
            trimmed_ = c_.trimOn ? multiplyBy(lowHalf(y), c_.trim) : lowHalf(y);
            middle_ = highHalf(y);
        });
        pair<Guarded>(i, kHighpassPair, kHighpassDistance, f_.highpasses, [&](bool, bool) {
            highpassesIn_ = join(dry_, sectionOutput);
            highpassesOut_ = onePoleStep(f_.highpasses, c_.highpasses, highpassesIn_);
        });
        if (active<Guarded>(i, kReadInput)) dry_ = dryInput(i);
    }

    // A and B, their saturators, C and D. Each pair reads what the others left one step ago.
    template <bool Guarded>
    TOVREL_KERNEL_INLINE void sectionPairs(int i, Lanes2 recombined, const Saturators& ahead) {
        const Lanes4 feedForwardAB = feedForwardAB_, sectionsAB = sectionsAB_,
                     saturated = saturated_, feedForwardCD = feedForwardCD_,
                     sectionsCD = sectionsCD_;
        History<__m256d>& ab = f_.sectionsAB;
        History<__m256d>& cd = f_.sectionsCD;
        constexpr int kPair = kSectionDistance;
        pair<Guarded>(i, kFeedbackPairCD, kPair, cd, [&](bool, bool) {
            sectionsCD_ = biquadFeedback(cd, c_.sectionsCD, feedForwardCD);
        });
        if (active<Guarded>(i, kLastStep)) storeWet(i - kLastStep, highHalf(sectionsCD_));
        pair<Guarded>(i, kFeedForwardPairCD, kPair, cd, [&](bool, bool) {
            feedForwardCD_ =
                biquadFeedForward(cd, c_.sectionsCD, join(recombined, highHalf(saturated)));
        });
        NoState none;
        pair<Guarded>(i, kSaturatorPair, kSaturatorDistance, none, [&](bool low, bool high) {
            saturated_ = Guarded
                             ? saturate(join(lowHalf(sectionsAB), lowHalf(sectionsCD)), low, high)
                             : saturateWith(ahead.sections, ahead.sectionPowers);
        });
        pair<Guarded>(i, kFeedbackPairAB, kPair, ab, [&](bool, bool) {
            sectionsAB_ = biquadFeedback(ab, c_.sectionsAB, feedForwardAB);
        });
        pair<Guarded>(i, kFeedForwardPairAB, kPair, ab, [&](bool, bool) {
            feedForwardAB_ =
                biquadFeedForward(ab, c_.sectionsAB, join(trimmed_, lowHalf(saturated)));
        });
    }

    // Runs one pair's work. While the pipeline fills or drains, a half whose step has no frame
    // computes on stale latches: its filter state is then put back.
    template <bool Guarded, typename State, typename Work>
    TOVREL_KERNEL_INLINE void pair(int i, int early, int distance, State& state, Work work) {
        if (!Guarded) {
            work(true, true);
            return;
        }
        const bool low = active<true>(i, early), high = active<true>(i, early + distance);
        if (!low && !high) return;
        const State before = state;
        work(low, high);
        restore(state, before, maskOf(low, high));
    }

    // The input as the chain sees it; the noise state moves on with every frame.
    TOVREL_KERNEL_INLINE Lanes2 dryInput(int i) {
        const __m128d x = _mm_set_pd(static_cast<double>(right_[i]), static_cast<double>(left_[i]));
        const __m128d noise = _mm_set_pd(static_cast<double>(fpdR_), static_cast<double>(fpdL_));
        fpdL_ = nextNoise(fpdL_);
        fpdR_ = nextNoise(fpdR_);
        return substituteTinyInput<Sample>(x, noise);
    }

    // The upper band beside the high band (band minus its low-pass); the low band's own low-pass
    // beside the high band is then driven (where its drive is on) into a saturator.
    template <bool Guarded>
    TOVREL_KERNEL_INLINE void drives(bool lowHalf, bool highHalf, const Saturators& ahead) {
        if (Guarded) {
            drivesSat_ = saturate(drivenBands(drivesDiff_), lowHalf, highHalf);
        } else {
            drivesDiff_ = ahead.upperAndHigh;
            drivesSat_ = saturateWith(ahead.driven, ahead.drivenPowers);
        }
    }
    TOVREL_KERNEL_INLINE Lanes4 drivenBands(Lanes4& upperAndHigh) const {
        upperAndHigh = subtract(bandsIn_, bandsOut_);
        const __m256d highHalfMask = maskOf(false, true);
        Lanes4 driven = {vSelect(bandsOut_.hi, upperAndHigh.hi, highHalfMask),
                         vSelect(bandsOut_.lo, upperAndHigh.lo, highHalfMask)};
        if (c_.anyDrive) {
            Lanes4 product = multiplyBy(driven, c_.drives);
            restore(product, driven, c_.drivesOn);  // a band whose drive is off stays as it is
            driven = product;
        }
        return driven;
    }

    // Both saturator pairs' inputs, clamped, and their fifth powers, from the latches as this
    // step finds them.
    TOVREL_KERNEL_INLINE Saturators saturatorsAhead() const {
        Saturators s{};
        s.driven = clampToUnit(drivenBands(s.upperAndHigh));
        s.sections = clampToUnit(join(lowHalf(sectionsAB_), lowHalf(sectionsCD_)));
        const DoublePack<2> powers = packPowFive(DoublePack<2>{{s.driven.hi, s.sections.hi}});
        s.drivenPowers = powers.v[0];
        s.sectionPowers = powers.v[1];
        return s;
    }

    // loSmooth from the saturated low band beside midBand from the upper band.
    TOVREL_KERNEL_INLINE Lanes4 smoothAndMid() {
        upper_ = lowHalf(drivesDiff_);
        return onePoleStep(f_.smoothAndMid, c_.smoothAndMid, join(lowHalf(drivesSat_), upper_));
    }

    // ((mid + smooth * loLevel) + hiLevel * high) * 4.
    TOVREL_KERNEL_INLINE Lanes2 recombine() {
        const Lanes4& both = smoothAndMid_.at(kRecombineStep - kSmoothMidPair);
        const Lanes2 smooth = lowHalf(both), mid = highHalf(both);
        const Lanes2 withLow = add(mid, multiplyBy(smooth, c_.loLevel));
        const Lanes2 all = add(withLow, multiplyBy(highHalf(drivesSat_), c_.hiLevel));
        return multiplyBy(all, _mm_set1_pd(kRecombineGain));
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
    // Latches: each holds what one step (or pair) left for the next step.
    Lanes2 dry_{}, trimmed_{}, middle_{}, upper_{}, rest_{}, recombined_{};
    Lanes4 highpassesIn_{}, highpassesOut_{}, feedForwardAB_{}, sectionsAB_{}, saturated_{},
        feedForwardCD_{}, sectionsCD_{}, bandsIn_{}, bandsOut_{}, drivesDiff_{}, drivesSat_{};
    DelayLine<Lanes4, kRecombineStep - kSmoothMidPair> smoothAndMid_;
};

}  // namespace
}  // namespace tovrel::dsp::vector
