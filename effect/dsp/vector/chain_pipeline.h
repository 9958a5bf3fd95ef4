// The chain of both channels as a software pipeline: at step i, stage k works on frame i - k and
// reads what stage k - 1 left in its latch at step i - 1. A stage's work is then independent of
// every other stage's within a step, so the processor overlaps twenty short dependency chains
// instead of waiting on one frame's long one. Each stage keeps the scalar path's operations and
// their order; only the frames' interleaving differs.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "effect/dsp/vector/chain_filters.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp::vector {
namespace {

inline __m128d noiseAsDouble(std::uint32_t left, std::uint32_t right) {
    return _mm_set_pd(static_cast<double>(right), static_cast<double>(left));
}

inline std::uint32_t nextNoise(std::uint32_t fpd) {
    fpd ^= fpd << 13;
    fpd ^= fpd >> 17;
    fpd ^= fpd << 5;
    return fpd;
}

template <typename Sample>
class ChainPipeline {
  public:
    static constexpr int kLastStage = 20;

    ChainPipeline(const SignalState& s, const BlockValues& v, const Sample* left,
                  const Sample* right, int frames, Workspace& workspace)
        : c_(s, v),
          f_(s),
          left_(left),
          right_(right),
          frames_(frames),
          wet_(workspace.wet),
          fpdL_(s.fpdL),
          fpdR_(s.fpdR),
          tinyInput_(sizeof(Sample) == sizeof(float) ? 1.18e-37 : 1.18e-43) {}

    // Answers whether every frame came out without a special case; only then are the filters
    // written back.
    bool run(SignalState& s) {
        int i = 0;
        for (; i < kLastStage && i < frames_ + kLastStage; ++i) step<true>(i);
        for (; i < frames_; ++i) step<false>(i);
        for (; i < frames_ + kLastStage; ++i) step<true>(i);
        if (_mm_movemask_pd(flags_) != 0) return false;
        f_.store(s);
        return true;
    }

  private:
    template <bool Guarded>
    bool active(int i, int stage) const {
        return !Guarded || (i >= stage && i - stage < frames_);
    }

    // Later stages first, so that each reads its latch before its predecessor refills it.
    template <bool Guarded>
    void step(int i) {
        if (active<Guarded>(i, 20))
            storeWet(i - 20, biquadFeedback(f_.history[3], c_.sections[3], fD_, flags_));
        if (active<Guarded>(i, 19))
            fD_ = biquadFeedForward(f_.history[3], c_.sections[3], xM_, flags_);
        if (active<Guarded>(i, 18)) xM_ = saturate(yC_, flags_);
        if (active<Guarded>(i, 17))
            yC_ = biquadFeedback(f_.history[2], c_.sections[2], fC_, flags_);
        if (active<Guarded>(i, 16))
            fC_ = biquadFeedForward(f_.history[2], c_.sections[2], xL_, flags_);
        if (active<Guarded>(i, 15)) xL_ = recombine(highK_, midK_, smoothK_);
        if (active<Guarded>(i, 14)) highBand();
        if (active<Guarded>(i, 13)) highSplit();
        if (active<Guarded>(i, 12)) middleBands();
        if (active<Guarded>(i, 11)) lowBand();
        if (active<Guarded>(i, 10)) {
            xG_ = xF_;
            lbG_ = onePoleStep(f_.loBand, c_.loBand, xF_, flags_);
        }
        if (active<Guarded>(i, 9)) xF_ = subtract(xE_, sE_, flags_);
        if (active<Guarded>(i, 8)) {
            xE_ = yB_;
            sE_ = onePoleStep(f_.midHighpass, c_.midHighpass, yB_, flags_);
        }
        if (active<Guarded>(i, 7)) yB_ = biquadFeedback(f_.history[1], c_.sections[1], fB_, flags_);
        if (active<Guarded>(i, 6))
            fB_ = biquadFeedForward(f_.history[1], c_.sections[1], xD_, flags_);
        if (active<Guarded>(i, 5)) xD_ = saturate(yA_, flags_);
        if (active<Guarded>(i, 4)) yA_ = biquadFeedback(f_.history[0], c_.sections[0], fA_, flags_);
        if (active<Guarded>(i, 3))
            fA_ = biquadFeedForward(f_.history[0], c_.sections[0], xC_, flags_);
        if (active<Guarded>(i, 2)) trimmedInput();
        if (active<Guarded>(i, 1)) {
            xB_ = xA_;
            sB_ = onePoleStep(f_.inHighpass, c_.inHighpass, xA_, flags_);
        }
        if (active<Guarded>(i, 0)) xA_ = dryInput(i);
    }

    // Silence and near-silence become the noise state at the threshold's scale.
    Lanes dryInput(int i) {
        const __m128d x = _mm_set_pd(static_cast<double>(right_[i]), static_cast<double>(left_[i]));
        const __m128d threshold = _mm_set1_pd(tinyInput_);
        const __m128d noise = _mm_mul_pd(noiseAsDouble(fpdL_, fpdR_), threshold);
        const __m128d tiny = _mm_cmp_pd(magnitude(x), threshold, _CMP_LT_OQ);
        fpdL_ = nextNoise(fpdL_);
        fpdR_ = nextNoise(fpdR_);
        return widenLanes(_mm_blendv_pd(x, noise, tiny));
    }

    void trimmedInput() {
        xC_ = subtract(xB_, sB_, flags_);
        if (c_.trimOn) xC_ = multiplyBy(xC_, c_.trim, flags_);
    }

    void lowBand() {
        upperH_ = subtract(xG_, lbG_, flags_);
        Lanes low = lbG_;
        if (c_.loDriveOn) low = multiplyBy(low, c_.loDrive, flags_);
        lowH_ = saturate(low, flags_);
    }

    void middleBands() {
        upperI_ = upperH_;
        smoothI_ = onePoleStep(f_.loSmooth, c_.loBand, lowH_, flags_);
        midI_ = onePoleStep(f_.midBand, c_.hiBand, upperH_, flags_);
    }

    void highSplit() {
        restJ_ = subtract(upperI_, midI_, flags_);
        hpJ_ = onePoleStep(f_.hiHighpass, c_.hiBand, restJ_, flags_);
        midJ_ = midI_;
        smoothJ_ = smoothI_;
    }

    void highBand() {
        Lanes high = subtract(restJ_, hpJ_, flags_);
        if (c_.hiDriveOn) high = multiplyBy(high, c_.hiDrive, flags_);
        highK_ = saturate(high, flags_);
        midK_ = midJ_;
        smoothK_ = smoothJ_;
    }

    // ((mid + smooth * loLevel) + hiLevel * high) * 4.
    Lanes recombine(Lanes high, Lanes mid, Lanes smooth) {
        const Lanes withLow = add(mid, multiplyBy(smooth, c_.loLevel, flags_), flags_);
        const Lanes all = add(withLow, multiplyBy(high, c_.hiLevel, flags_), flags_);
        return multiplyBy(all, broadcast(4.0), flags_);
    }

    void storeWet(int frame, Lanes y) {
        _mm_store_pd(&wet_[frame][0], y.hi);
        _mm_store_pd(&wet_[frame][2], y.lo);
    }

    ChainConstants c_;
    ChainFilters f_;
    const Sample* left_;
    const Sample* right_;
    int frames_;
    double (*wet_)[4];
    std::uint32_t fpdL_, fpdR_;  // the noise states as the frame being read will see them
    double tinyInput_;
    __m128d flags_ = _mm_setzero_pd();
    // Latches, named by the stage that reads them.
    Lanes xA_{}, xB_{}, sB_{}, xC_{}, fA_{}, yA_{}, xD_{}, fB_{}, yB_{}, xE_{}, sE_{}, xF_{}, xG_{},
        lbG_{}, upperH_{}, lowH_{}, upperI_{}, midI_{}, smoothI_{}, restJ_{}, hpJ_{}, midJ_{},
        smoothJ_{}, highK_{}, midK_{}, smoothK_{}, xL_{}, fC_{}, yC_{}, xM_{}, fD_{};
};

}  // namespace
}  // namespace tovrel::dsp::vector
