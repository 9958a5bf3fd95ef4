// Agreement with 32-bit PowerPC, where the signal path runs on the compiler runtime's own
// double-double routines: our arithmetic against the runtime's results (data/dd-vectors.md),
// and whole renders against digests of output words and final state, every bit. The data are
// little-endian and digests hash word values, so any host works.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <tuple>
#include <type_traits>
#include <vector>

#include "effect/dsp/number/double_double_emulation.h"
#include "test_support.h"

namespace tovrel::dsp::test {
namespace {

std::uint64_t littleEndian(const unsigned char* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

bool sameWord(double expected, double actual) {
    return std::isnan(expected) ? std::isnan(actual) : !std::memcmp(&expected, &actual, 8);
}

// On PowerPC the signal path calls the runtime itself; the emulation is checked there too.
TEST(DoubleDouble, EmulationAndSignalPathMatchTheRuntime) {
    std::ifstream file(TOVREL_DD_VECTORS, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 32u + 51736u * 56u) << TOVREL_DD_VECTORS;
    DoubleDouble (*const sets[2][4])(DoubleDouble, DoubleDouble) = {
        {emulation::add, emulation::subtract, emulation::multiply, emulation::divide},
        {add, subtract, multiply, divide}};
    for (const auto& ops : sets) {
        int mismatches[6] = {};
        for (std::size_t at = 32; at < bytes.size(); at += 56) {
            const unsigned char* record = &bytes[at];
            std::uint64_t bits[6];
            for (int k = 0; k < 6; ++k) bits[k] = littleEndian(record + 8 + 8 * k);
            double w[6];
            std::memcpy(w, bits, sizeof w);
            const DoubleDouble a = makeDoubleDouble(w[0], w[1]), b = makeDoubleDouble(w[2], w[3]);
            const int op = record[0];
            ASSERT_LT(op, 6);
            // Comparisons answer flags: 1 a > b, 2 a < b, 4 ==, 8 >=, 16 <=, 32 !=.
            const DoubleDouble r = op == 4   ? widen((a > b) + 2 * (a < b) + 4 * (a == b) +
                                                   8 * (a >= b) + 16 * (a <= b) + 32 * (a != b))
                                 : op == 5 ? makeDoubleDouble(highWord(a), toFloat(a))
                                           : ops[op](a, b);
            if (sameWord(w[4], highWord(r)) && sameWord(w[5], lowWord(r))) continue;
            if (++mismatches[op] > 3) continue;
            ADD_FAILURE() << "case " << (littleEndian(record) >> 32) << std::hexfloat << " gave "
                          << highWord(r) << " " << lowWord(r) << ", not " << w[4] << " " << w[5];
        }
        for (int op = 0; op < 6; ++op) EXPECT_EQ(mismatches[op], 0) << "op " << op;
    }
    // Widening gives a low word of +0; narrowing to float ignores the low word, even halfway
    // between two floats where it would tip the rounding up.
    EXPECT_TRUE(!std::signbit(lowWord(widen(-0.5))));
    EXPECT_EQ(toFloat(makeDoubleDouble(1.0 + 0x1p-24, 0x1p-60)), 1.0f);
}

// FNV-1a over the values of 32- and 64-bit words, so the digest is the same on either byte order.
template <typename Word>
void mix(std::uint64_t& digest, Word x) {
    std::conditional_t<sizeof x == 4, std::uint32_t, std::uint64_t> bits;
    std::memcpy(&bits, &x, sizeof bits);
    std::uint64_t w = bits;
    for (int i = 0; i < 8; ++i, w >>= 8) digest = (digest ^ (w & 0xffu)) * 1099511628211u;
}

// The output words, then every state word: the long doubles high word first, then the noise.
template <typename Sample>
std::uint64_t digestOf(float rate, const ParameterSnapshot& p, double amplitude, bool vector) {
    Stereo<Sample> s(6000, amplitude, 11);
    s.workspace.vectorKernel = s.workspace.vectorKernel && vector;
    SignalState state = freshState();
    s.processAll(state, rate, p, 512);
    std::uint64_t h = 14695981039346656037u;
    for (std::size_t i = 0; i < s.left.size(); ++i) mix(h, s.outLeft[i]), mix(h, s.outRight[i]);
    static_assert(offsetof(SignalState, fpdL) == 144 * sizeof(double), "only doubles before");
    double words[144];
    std::memcpy(words, &state, sizeof words);
    for (double w : words) mix(h, w);
    mix(h, std::uint64_t{state.fpdL}), mix(h, std::uint64_t{state.fpdR});
    return h;
}

TEST(ReferenceRender, MatchesThePowerPcRuntime) {
    const ParameterSnapshot on = kEverythingOn;
    const std::tuple<bool, float, ParameterSnapshot, double, std::uint64_t> renders[] = {
        {false, 44100.0f, kDefaults, 1.0, 0x5e48f9556a43bbb9u},
        {false, 44100.0f, on, 1.0, 0x5a85cb63df3baf5fu},
        {true, 48000.0f, on, 1.0, 0x5b4667625c2f21fbu},
        {true, 96000.0f, {0.9f, 0.2f, 0.8f, 0.5f, 0.3f}, 1.0, 0xa99373cf75b8b64au},
        {false, 44100.0f, on, 0.0, 0xff1284f865b11528u},
        {true, 44100.0f, {1.0f, 1.0f, 1.0f, 1.0f, 0.5f}, 0x1p64, 0x0d7b3c19f07487ddu},
        {false, 44100.0f, {1.0f, 0.0f, 1.0f, 0.3f, 0.7f}, 0x1p64, 0xf0f1ae7d908d82a0u},
        {true, 44100.0f, on, 1e-40, 0xf3230933b530e9a7u},
        {false, 88200.0f, {0.05f, 0.9f, 0.1f, 1.0f, 0.9f}, 1e-6, 0xba758da58e68c6c5u},
        {false, 32000.0f, on, 1.0, 0x0ac2edf998a1db81u},
    };
    // Both kernels where the processor has the fast one.
    for (bool vector : {false, true}) {
        for (const auto& [doublePath, rate, p, amplitude, expected] : renders) {
            const std::uint64_t digest = doublePath ? digestOf<double>(rate, p, amplitude, vector)
                                                    : digestOf<float>(rate, p, amplitude, vector);
            EXPECT_EQ(digest, expected) << rate << " " << amplitude << std::hex << " 0x" << digest;
        }
    }
}

}  // namespace
}  // namespace tovrel::dsp::test
