// The both-channels kernel against the scalar path, which the PowerPC comparison pins down:
// its arithmetic on the runtime's results, and whole renders (every output word and every state
// word) over settings, rates, call shapes and the inputs that send it back to the scalar way.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "effect/dsp/vector/kernel.h"
#include "test_support.h"

namespace tovrel::dsp::test {
namespace {

bool sameWords(DoubleDouble a, DoubleDouble b) {
    return !std::memcmp(&a, &b, sizeof a);
}

// Far from overflow: a sum or product whose high word reaches infinity on the way may still
// come out finite, and the kernel rightly leaves that to the scalar way.
bool ordinaryWord(DoubleDouble x) {
    return std::fabs(x.hi) < 0x1p1000 && std::isfinite(x.lo);
}

// Every sum, difference and product in the runtime's results, in both lanes at once (each record
// beside the next). Only an infinity, a NaN or a word near overflow may send a lane to the
// scalar way.
TEST(VectorKernel, ArithmeticMatchesTheRuntimeOrDefers) {
    if (!vector::available()) GTEST_SKIP() << "no FMA on this processor";
    std::ifstream file(TOVREL_DD_VECTORS, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 32u + 51736u * 56u);
    std::vector<int> operation;
    std::vector<DoubleDouble> words;  // x, y, expected for each record
    for (std::size_t at = 32; at < bytes.size(); at += 56) {
        double w[6];
        std::memcpy(w, &bytes[at + 8], sizeof w);  // little-endian data on a little-endian host
        operation.push_back(bytes[at]);
        words.insert(words.end(), {{w[0], w[1]}, {w[2], w[3]}, {w[4], w[5]}});
    }
    int checked = 0;
    for (std::size_t i = 0; i + 1 < operation.size(); ++i) {
        const int op = operation[i];
        if (op > 2 || operation[i + 1] != op) continue;
        const DoubleDouble* r[2] = {&words[3 * i], &words[3 * i + 3]};
        const DoubleDouble x[2] = {r[0][0], r[1][0]}, y[2] = {r[0][1], r[1][1]};
        for (int form : {op, op == 2 && y[0].lo == 0.0 && y[1].lo == 0.0 ? 3 : op}) {
            DoubleDouble out[2];
            const bool flagged = vector::arithmeticProbe(form, x, y, out);
            bool ordinary = true;
            for (int lane = 0; lane < 2; ++lane) {
                ordinary = ordinary && ordinaryWord(r[lane][0]) && ordinaryWord(r[lane][1]) &&
                           ordinaryWord(r[lane][2]);
            }
            EXPECT_TRUE(!flagged || !ordinary) << "record " << i << " form " << form;
            if (flagged) continue;
            ++checked;
            EXPECT_TRUE(sameWords(out[0], r[0][2]) && sameWords(out[1], r[1][2]))
                << "record " << i << " form " << form;
        }
    }
    EXPECT_GT(checked, 20000);
}

// The index of the first word in which two arrays differ, bit for bit; -1 if none.
template <typename T>
long firstDifferentWord(const T* a, const T* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (std::memcmp(a + i, b + i, sizeof(T)) != 0) return static_cast<long>(i);
    }
    return -1;
}

// Both paths through the same calls, the vector one in place; after each call, the first output
// word and the first state word in which they part, if any.
template <typename Sample>
std::string firstParting(const Stereo<Sample>& source, float rate, const ParameterSnapshot& p) {
    Stereo<Sample> scalar = source, vector = source;
    scalar.workspace.vectorKernel = false;
    vector.workspace.vectorKernel = true;
    vector.out[0] = vector.in[0], vector.out[1] = vector.in[1];
    SignalState a = freshState(), b = a;
    std::size_t at = 0;
    int call = 0;
    for (std::int32_t n : {1, 127, 128, 129, 300, 1000, 2411}) {
        scalar.process(a, rate, p, at, n);
        vector.process(b, rate, p, at, n);
        const std::string where = "call " + std::to_string(call++) + " (frames " +
                                  std::to_string(at) + " to " + std::to_string(at + n - 1) + ")";
        for (int channel = 0; channel < 2; ++channel) {
            const long frame = firstDifferentWord(scalar.out[channel] + at,
                                                  vector.out[channel] + at, std::size_t(n));
            if (frame >= 0)
                return where + ": output " + std::to_string(channel) + ", frame " +
                       std::to_string(frame + long(at));
        }
        static_assert(sizeof(SignalState) % 8 == 0, "the state compares in 64-bit words");
        const long word =
            firstDifferentWord(reinterpret_cast<const std::uint64_t*>(&a),
                               reinterpret_cast<const std::uint64_t*>(&b), sizeof(SignalState) / 8);
        if (word >= 0) return where + ": state word " + std::to_string(word);
        at += static_cast<std::size_t>(n);
    }
    return "";
}

template <typename Sample>
void expectSameRender(const Stereo<Sample>& source, float rate, const ParameterSnapshot& p) {
    EXPECT_EQ(firstParting(source, rate, p), "")
        << rate << " Hz, trim " << p.trim << ", dry/wet " << p.dryWet;
}

// Full mix, no mix, no gain, values beyond 1, the defaults, one drive on without the other, and
// no trim (silence into the sections, so that the saturators see exact zeros, which pow's lanes
// hand to its scalar form).
constexpr ParameterSnapshot kSettings[] = {kDefaults,
                                           kEverythingOn,
                                           {0.9f, 1.0f, 0.0f, 0.5f, 0.0f},
                                           {0.2f, 0.3f, 0.8f, 0.0f, 0.5f},
                                           {2.0f, 3.0f, 1.5f, 40.0f, 1.5f},
                                           {0.1f, 0.5f, 0.8f, 1.0f, 1.0f},
                                           {0.1f, 0.9f, 0.5f, 1.0f, 1.0f},
                                           {0.0f, 0.8f, 0.8f, 1.0f, 1.0f}};

template <typename Sample>
void expectRendersAgree() {
    for (float rate : {44100.0f, 96000.0f, 22050.0f}) {
        for (const ParameterSnapshot& p : kSettings) {
            for (double amplitude : {1.0, 1e-30, 1e12}) {
                expectSameRender(Stereo<Sample>(4096, amplitude), rate, p);
            }
        }
    }
}

TEST(VectorKernel, RendersMatchTheScalarPath) {
    if (!vector::available()) GTEST_SKIP() << "no FMA on this processor";
    expectRendersAgree<float>();
    expectRendersAgree<double>();
}

// Every exponent the precision has, zeros, subnormals, infinities, NaNs and absurd samples.
// With the mix at 0 the written word is the dry sample itself, so the dither sees all of them.
template <typename Sample>
void expectSpecialInputsAgree() {
    using Limits = std::numeric_limits<Sample>;
    Stereo<Sample> source(4096);
    const int span = Limits::max_exponent - Limits::min_exponent + Limits::digits + 2;
    for (std::size_t i = 0; i < 4096; ++i) {
        const int exponent = static_cast<int>(i) % span + Limits::min_exponent - Limits::digits;
        source.left[i] = std::ldexp(static_cast<Sample>(i % 2 ? -1.5 : 1.25), exponent);
    }
    const Sample specials[] = {0,
                               -Sample(0),
                               Limits::infinity(),
                               Limits::quiet_NaN(),
                               Limits::max(),
                               Limits::denorm_min()};
    for (std::size_t k = 0; k < std::size(specials); ++k) source.right[500 + 600 * k] = specials[k];
    for (const ParameterSnapshot& p : {kEverythingOn, ParameterSnapshot{0.1f, 0.5f, 0.5f, 1, 0}}) {
        expectSameRender(source, 44100.0f, p);
    }
}

TEST(VectorKernel, SpecialInputsMatchTheScalarPath) {
    if (!vector::available()) GTEST_SKIP() << "no FMA on this processor";
    expectSpecialInputsAgree<float>();
    expectSpecialInputsAgree<double>();
}

}  // namespace
}  // namespace tovrel::dsp::test
