// The steps of the both-channels pipeline and the scalar stages each performs. At pipeline step
// i, the work of step k is done for frame i - k, from what step k - 1 left one step earlier.
// Work of the same shape shares one four-lane vector: a pair's low half is the earlier step, its
// high half the step `distance` later.
#pragma once

#include "effect/dsp/chain_stages.h"

namespace tovrel::dsp::vector {

enum Step : int {
    kReadInput = 0,
    kHighpassPair = 1,        // inHighpass, beside midHighpass
    kHighpassOutputPair = 2,  // x minus its low-pass, then the trim; beside midHighpass's
    kFeedForwardPairAB = 3,   // section A, beside section B
    kFeedbackPairAB = 4,
    kSaturatorPair = 5,   // after section A, beside the one after C
    kBandPair = 10,       // loBand, beside hiHighpass
    kDrivePair = 11,      // the low band into its saturator, beside the high band
    kSmoothMidPair = 12,  // loSmooth beside midBand, one step
    kRestStep = 13,
    kRecombineStep = 16,
    kFeedForwardPairCD = 17,  // section C, beside section D
    kFeedbackPairCD = 18,
    kHighpassDistance = 7,
    kBandDistance = 4,
    kSectionDistance = 3,
    kSaturatorDistance = 14,
    kLastStep = kFeedbackPairCD + kSectionDistance,
};

// The scalar stages a step performs, for one frame, in the scalar order. A stage split over
// several steps (a biquad's feed-forward and its recurrence, a one-pole and the difference
// taken from it) is named at each.
struct StepStages {
    ChainStage stages[3];
    int count;
};

constexpr StepStages kStepStages[kLastStep + 1] = {
    {{kTinyInput}, 1},                           // 0  kReadInput
    {{kInHighpass}, 1},                          // 1  kHighpassPair, low: the one-pole
    {{kInHighpass, kTrim}, 2},                   // 2  kHighpassOutputPair, low
    {{kSectionA}, 1},                            // 3  kFeedForwardPairAB, low
    {{kSectionA}, 1},                            // 4  kFeedbackPairAB, low
    {{kSaturatorA}, 1},                          // 5  kSaturatorPair, low
    {{kSectionB}, 1},                            // 6  kFeedForwardPairAB, high
    {{kSectionB}, 1},                            // 7  kFeedbackPairAB, high
    {{kMidHighpass}, 1},                         // 8  kHighpassPair, high
    {{kMidHighpass}, 1},                         // 9  kHighpassOutputPair, high
    {{kLoBand}, 1},                              // 10 kBandPair, low
    {{kLoBand, kLoDrive, kLoSaturator}, 3},      // 11 kDrivePair, low
    {{kLoSmooth, kMidBand}, 2},                  // 12 kSmoothMidPair
    {{kMidBand}, 1},                             // 13 kRestStep: the rest of the upper band
    {{kHiHighpass}, 1},                          // 14 kBandPair, high
    {{kHiHighpass, kHiDrive, kHiSaturator}, 3},  // 15 kDrivePair, high
    {{kRecombine}, 1},                           // 16 kRecombineStep
    {{kSectionC}, 1},                            // 17 kFeedForwardPairCD, low
    {{kSectionC}, 1},                            // 18 kFeedbackPairCD, low
    {{kSaturatorC}, 1},                          // 19 kSaturatorPair, high
    {{kSectionD}, 1},                            // 20 kFeedForwardPairCD, high
    {{kSectionD}, 1},                            // 21 kFeedbackPairCD, high
};

// The steps meet every scalar stage, in the scalar order.
constexpr bool stepsFollowTheChain() {
    int next = kTinyInput;
    for (const StepStages& step : kStepStages) {
        for (int k = 0; k < step.count; ++k) {
            const int stage = step.stages[k];
            if (stage != next && stage != next - 1) return false;
            next = stage + 1;
        }
    }
    return next == kChainStageCount;
}
static_assert(stepsFollowTheChain(), "the pipeline skips or reorders a stage of the chain");

// Each pair's high half is the stage its distance names.
constexpr bool highHalfIs(int step, ChainStage stage) {
    return kStepStages[step].stages[0] == stage;
}
static_assert(highHalfIs(kHighpassPair + kHighpassDistance, kMidHighpass) &&
                  highHalfIs(kHighpassOutputPair + kHighpassDistance, kMidHighpass) &&
                  highHalfIs(kFeedForwardPairAB + kSectionDistance, kSectionB) &&
                  highHalfIs(kFeedbackPairAB + kSectionDistance, kSectionB) &&
                  highHalfIs(kSaturatorPair + kSaturatorDistance, kSaturatorC) &&
                  highHalfIs(kBandPair + kBandDistance, kHiHighpass) &&
                  highHalfIs(kDrivePair + kBandDistance, kHiHighpass) &&
                  highHalfIs(kFeedForwardPairCD + kSectionDistance, kSectionD) &&
                  highHalfIs(kFeedbackPairCD + kSectionDistance, kSectionD),
              "a pair's high half is not the stage it is paired with");

}  // namespace tovrel::dsp::vector
