// The chain written out once, straightforwardly, for the benchmark alone: over plain double it
// is the yardstick every speed-up is measured against; over the frozen double-double type it is
// the first product's speed. Neither is ever tuned, so ratios against them keep their meaning.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "effect/dsp/block_values.h"
#include "effect/dsp/blocks/section_design.h"
#include "frozen_double_double.h"

namespace tovrel::bench {

template <typename T>
class FixedChain {
  public:
    FixedChain(std::uint32_t seedL, std::uint32_t seedR) {
        channels_[0].fpd = seedL;
        channels_[1].fpd = seedR;
    }

    // Float in, float out, like the single-precision processing entry.
    void process(float sampleRate, const dsp::ParameterSnapshot& p, float** in, float** out,
                 int frames) {
        const dsp::BlockValues v = dsp::computeBlockValues(sampleRate, p);
        design(v.cutoff);
        for (int i = 0; i < frames; ++i) {
            const float left = in[0][i], right = in[1][i];
            out[0][i] = frame(channels_[0], v, left, true);
            out[1][i] = frame(channels_[1], v, right, false);
        }
    }

  private:
    struct Channel {
        T inHighpass{}, midHighpass{}, loBand{}, loSmooth{}, midBand{}, hiHighpass{};
        T history[4][4]{};  // per section: x1, x2, y1, y2
        std::uint32_t fpd = 0;
    };

    static T w(double d) {
        if constexpr (std::is_same_v<T, double>) {
            return d;
        } else {
            return T{d, 0.0};
        }
    }

    static T fromProduct(dsp::DoubleDouble x) {
        if constexpr (std::is_same_v<T, double>) {
            return x.hi;
        } else {
            return T{x.hi, x.lo};
        }
    }

    static T noiseScale() { return fromProduct({5.5e-36, 1.5724085468671158e-52}); }

    void design(double cutoff) {
        dsp::BasicSignalState<dsp::DoubleDouble> scratch{};
        dsp::designSections(scratch, cutoff);
        const dsp::DoubleDouble* sections[] = {scratch.lowpassA, scratch.lowpassB, scratch.lowpassC,
                                             scratch.lowpassD};
        for (int s = 0; s < 4; ++s)
            for (int k = 0; k < 5; ++k)
                coefficients_[s][k] = fromProduct(sections[s][dsp::kA0 + k]);
    }

    static T onePole(T& state, double c, T x) {
        if (std::fabs(highOf(state)) < 1.18e-37) state = T{};
        state = w(1.0 - c) * state + w(c) * x;
        return state;
    }

    T biquad(int section, Channel& ch, T x) {
        const T* a = coefficients_[section];
        T* h = ch.history[section];
        const T y = (((x * a[0] + h[0] * a[1]) + h[1] * a[2]) - h[2] * a[3]) - h[3] * a[4];
        h[1] = h[0];
        h[0] = x;
        h[3] = h[2];
        h[2] = y;
        return y;
    }

    static T saturate(T x) {
        if (x > w(1.0)) {
            x = w(1.0);
        } else if (x < w(-1.0)) {
            x = w(-1.0);
        }
        return w(std::pow(highOf(x), 5.0) * -0.1768) + x;
    }

    float frame(Channel& ch, const dsp::BlockValues& v, float input, bool left) {
        double sample = input;
        if (std::fabs(sample) < 1.18e-37) sample = static_cast<double>(ch.fpd) * 1.18e-37;
        const T dry = w(sample);
        T x = dry - onePole(ch.inHighpass, v.inHighpassCoeff, dry);
        if (v.trim != 1.0) x = x * w(v.trim);
        x = saturate(biquad(0, ch, x));
        x = biquad(1, ch, x);
        x = x - onePole(ch.midHighpass, v.midHighpassCoeff, x);
        const T loBand = onePole(ch.loBand, v.loBandCoeff, x);
        const T upper = x - loBand;
        T low = loBand;
        if (v.loDrive != 1.0) low = low * w(v.loDrive);
        const T loSmooth = onePole(ch.loSmooth, v.loBandCoeff, saturate(low));
        const T midBand = onePole(ch.midBand, v.hiBandCoeff, upper);
        const T rest = upper - midBand;
        T high = rest - onePole(ch.hiHighpass, v.hiBandCoeff, rest);
        if (v.hiDrive != 1.0) high = high * w(v.hiDrive);
        high = saturate(high);
        x = ((midBand + loSmooth * w(v.loLevel)) + w(v.hiLevel) * high) * w(4.0);
        x = saturate(biquad(2, ch, x));
        x = biquad(3, ch, x);
        if (v.gain != 1.0) x = x * w(v.gain);
        if (v.dryWet != 1.0) {
            const T wet = left ? w(v.dryWet) * x : x * w(v.dryWet);
            x = wet + dry * w(1.0 - v.dryWet);
        }
        int exponent = 0;
        std::frexp(static_cast<float>(highOf(x)), &exponent);
        ch.fpd ^= ch.fpd << 13;
        ch.fpd ^= ch.fpd >> 17;
        ch.fpd ^= ch.fpd << 5;
        const T noise = (w(static_cast<double>(ch.fpd) - 2147483647.0) * noiseScale()) *
                        w(std::pow(2.0, static_cast<double>(exponent + 62)));
        return static_cast<float>(highOf(noise + x));
    }

    T coefficients_[4][5]{};
    Channel channels_[2];
};

}  // namespace tovrel::bench
