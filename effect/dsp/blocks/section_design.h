// The four low-pass biquad sections: bilinear-transform designs at one common corner that
// differ only in Q. Elements 0 to 6 of each section are brought up to date at every block.
#pragma once

#include <cmath>

#include "effect/dsp/maths/tangent.h"
#include "effect/dsp/number/arithmetic.h"
#include "effect/dsp/signal_state.h"

namespace tovrel::dsp {

constexpr double kQA = 0.431684981684982;
constexpr double kQB = 1.1582298;
constexpr double kQC = 0.657027382751269;
constexpr double kQD = 1.076210852946577;

// Each precision below is part of the sound: norm, a0, a2 and b1 are doubles, b2 keeps both
// words, and the ratio K / Q stays a long double throughout.
template <typename T>
void designSection(T* section) {
    constexpr double kPi = 3.141592653589793;
    const T one = widenTo<T>(1.0);
    const double k = maths::tangentOnSetupRange(highWord(widenTo<T>(kPi) * section[kCutoff]));
    const double kSquared = k * k;
    const T ratio = widenTo<T>(k) / section[kQ];
    const double norm = highWord(one / ((ratio + one) + widenTo<T>(kSquared)));
    const double a0 = kSquared * norm;
    section[kA0] = widenTo<T>(a0);
    section[kA1] = widenTo<T>(a0) + widenTo<T>(a0);
    section[kA2] = widenTo<T>(kSquared * norm);
    section[kB1] = widenTo<T>(((kSquared - 1.0) + (kSquared - 1.0)) * norm);
    section[kB2] = (widenTo<T>(kSquared) + (one - ratio)) * widenTo<T>(norm);
}

template <typename T>
bool sameWords(T a, T b) {
    return highWord(a) == highWord(b) && lowWord(a) == lowWord(b);
}

// A section's coefficients follow from its corner and Q alone, so a section whose corner and Q
// are unchanged since its last design keeps them: the same inputs give the same bits.
template <typename T>
void designSections(BasicSignalState<T>& state, double cutoff) {
    T* const sections[] = {state.lowpassA, state.lowpassB, state.lowpassC, state.lowpassD};
    const double qs[] = {kQA, kQB, kQC, kQD};
    for (int i = 0; i < 4; ++i) {
        const T corner = widenTo<T>(cutoff), q = widenTo<T>(qs[i]);
        if (sameWords(sections[i][kCutoff], corner) && sameWords(sections[i][kQ], q)) continue;
        sections[i][kCutoff] = corner;
        sections[i][kQ] = q;
        designSection(sections[i]);
    }
}

}  // namespace tovrel::dsp
