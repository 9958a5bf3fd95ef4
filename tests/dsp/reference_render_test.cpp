// Whole renders against digests measured on 32-bit PowerPC, where the signal path runs on the
// compiler runtime's own double-double routines: output words and the final state, every bit.
#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace tovrel::dsp {
namespace {

using test::Stereo;

struct Fnv64 {
    std::uint64_t value = 14695981039346656037u;
    void add(std::uint64_t word) {
        for (int i = 0; i < 8; ++i, word >>= 8) value = (value ^ (word & 0xffu)) * 1099511628211u;
    }
    template <typename Sample>
    void addSample(Sample x) {
        if constexpr (sizeof(Sample) == 4) {
            std::uint32_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            add(bits);
        } else {
            std::uint64_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            add(bits);
        }
    }
};

void addState(Fnv64& h, const SignalState& s) {
    const LongDouble* ones[] = {&s.inHighpassL, &s.midHighpassL, &s.loBandL,     &s.loSmoothL,
                                &s.midBandL,    &s.hiHighpassL,  &s.inHighpassR, &s.midHighpassR,
                                &s.loBandR,     &s.loSmoothR,    &s.midBandR,    &s.hiHighpassR};
    for (const LongDouble* x : ones) h.addSample(highWord(*x)), h.addSample(lowWord(*x));
    for (const LongDouble* section : {s.lowpassA, s.lowpassB, s.lowpassC, s.lowpassD}) {
        for (int i = 0; i < kSectionSize; ++i) {
            h.addSample(highWord(section[i]));
            h.addSample(lowWord(section[i]));
        }
    }
    h.add(s.fpdL), h.add(s.fpdR);
}

struct Render {
    const char* name;
    bool doublePath;
    float rate;
    ParameterSnapshot parameters;
    double amplitude;
    std::uint64_t expected;
};

template <typename Sample>
std::uint64_t digestOf(const Render& r) {
    Stereo<Sample> signal(6000, r.amplitude, 11);
    SignalState state = test::freshState();
    signal.processAll(state, r.rate, r.parameters, 512);
    Fnv64 h;
    for (std::size_t i = 0; i < signal.left.size(); ++i) {
        h.addSample(signal.outLeft[i]);
        h.addSample(signal.outRight[i]);
    }
    addState(h, state);
    return h.value;
}

TEST(ReferenceRender, MatchesThePowerPcRuntime) {
    constexpr ParameterSnapshot kHot{0.9f, 0.2f, 0.8f, 0.5f, 0.3f};
    constexpr ParameterSnapshot kFull{1.0f, 1.0f, 1.0f, 1.0f, 0.5f};
    constexpr ParameterSnapshot kLoHeavy{1.0f, 0.0f, 1.0f, 0.3f, 0.7f};
    constexpr ParameterSnapshot kQuiet{0.05f, 0.9f, 0.1f, 1.0f, 0.9f};
    const ParameterSnapshot kOn = test::kEverythingOn;
    const Render renders[] = {
        {"float defaults", false, 44100.0f, test::kDefaults, 1.0, 0x5e48f9556a43bbb9u},
        {"float all on", false, 44100.0f, kOn, 1.0, 0x5a85cb63df3baf5fu},
        {"double all on 48k", true, 48000.0f, kOn, 1.0, 0x5b4667625c2f21fbu},
        {"double hot 96k", true, 96000.0f, kHot, 1.0, 0xa99373cf75b8b64au},
        {"float silence", false, 44100.0f, kOn, 0.0, 0xff1284f865b11528u},
        {"double 2^64", true, 44100.0f, kFull, 0x1p64, 0x0d7b3c19f07487ddu},
        {"float 2^64", false, 44100.0f, kLoHeavy, 0x1p64, 0xf0f1ae7d908d82a0u},
        {"double tiny", true, 44100.0f, kOn, 1e-40, 0xf3230933b530e9a7u},
        {"float quiet", false, 88200.0f, kQuiet, 1e-6, 0xba758da58e68c6c5u},
        {"float 32k", false, 32000.0f, kOn, 1.0, 0x0ac2edf998a1db81u},
    };
    for (const Render& r : renders) {
        const std::uint64_t digest = r.doublePath ? digestOf<double>(r) : digestOf<float>(r);
        EXPECT_EQ(digest, r.expected) << r.name << std::hex << " digest 0x" << digest;
    }
}

}  // namespace
}  // namespace tovrel::dsp
