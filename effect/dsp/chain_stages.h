// The names of the stages one channel's sample passes in every frame, in their order. The scalar
// chain tags each of its lines with one, and the vector kernel's pipeline says by these names
// which stages each of its steps performs.
#pragma once

namespace tovrel::dsp {

enum ChainStage : int {
    kTinyInput,   // silence and near-silence become noise at the threshold's scale
    kInHighpass,  // the input minus its one-pole low-pass
    kTrim,        // the input level
    kSectionA,    // low-pass biquad
    kSaturatorA,
    kSectionB,
    kMidHighpass,  // minus its one-pole low-pass
    kLoBand,       // one-pole low band; the rest is the upper band
    kLoDrive,      // the low band's drive
    kLoSaturator,
    kLoSmooth,    // one-pole low-pass after the low band's saturator
    kMidBand,     // one-pole of the upper band; the rest goes on to the high band
    kHiHighpass,  // the rest minus its one-pole low-pass: the high band
    kHiDrive,
    kHiSaturator,
    kRecombine,  // middle band plus both driven bands at their levels, times the gain below
    kSectionC,
    kSaturatorC,
    kSectionD,
    kChainStageCount
};

// The three bands' sum is scaled by this in the recombine stage.
constexpr double kRecombineGain = 4.0;

}  // namespace tovrel::dsp
