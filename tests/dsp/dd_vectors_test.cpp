// Our double-double arithmetic against the PowerPC runtime's own results: every bit, NaN
// payloads aside. On PowerPC the native long double is checked as well as the emulation.
#include "dd_vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effect/dsp/double_double.h"
#include "effect/dsp/long_double.h"

namespace tovrel::dsp {
namespace {

using test::DdCase;
using test::DdOp;

bool sameWord(double expected, double actual) {
    if (std::isnan(expected)) return std::isnan(actual);
    return std::memcmp(&expected, &actual, sizeof expected) == 0;
}

template <typename T>
double compareFlags(T a, T b) {
    return (a > b ? 1 : 0) + (a < b ? 2 : 0) + (a == b ? 4 : 0) + (a >= b ? 8 : 0) +
           (a <= b ? 16 : 0) + (a != b ? 32 : 0);
}

// The runtime's answer for one case, as (high, low), through the operators of type T.
template <typename T, typename Make, typename High, typename Narrow>
void evaluate(const DdCase& c, Make make, High high, Narrow narrow, double out[2]) {
    const T a = make(c.aHigh, c.aLow), b = make(c.bHigh, c.bLow);
    T r{};
    switch (c.op) {
        case DdOp::Add:
            r = a + b;
            break;
        case DdOp::Sub:
            r = a - b;
            break;
        case DdOp::Mul:
            r = a * b;
            break;
        case DdOp::Div:
            r = a / b;
            break;
        case DdOp::Compare:
            out[0] = compareFlags(a, b), out[1] = 0.0;
            return;
        case DdOp::Convert:
            out[0] = high(a), out[1] = narrow(a);
            return;
    }
    std::memcpy(out, &r, 2 * sizeof(double));
}

template <typename Evaluate>
void replay(Evaluate evaluateCase) {
    const auto cases = test::readDdVectors(TOVREL_DD_VECTORS);
    ASSERT_EQ(cases.size(), 51736u) << TOVREL_DD_VECTORS;
    int mismatches[6] = {};
    for (const DdCase& c : cases) {
        double out[2];
        evaluateCase(c, out);
        if (sameWord(c.resultHigh, out[0]) && sameWord(c.resultLow, out[1])) continue;
        if (++mismatches[static_cast<int>(c.op)] <= 3) {
            ADD_FAILURE() << "case " << c.index << " op " << static_cast<int>(c.op) << " class "
                          << int{c.kind} << std::hexfloat << ": (" << c.aHigh << ", " << c.aLow
                          << ") with (" << c.bHigh << ", " << c.bLow << ") expected ("
                          << c.resultHigh << ", " << c.resultLow << ") got (" << out[0] << ", "
                          << out[1] << ")";
        }
    }
    for (int op = 0; op < 6; ++op) EXPECT_EQ(mismatches[op], 0) << "op " << op;
}

TEST(DoubleDoubleVectors, EmulationMatchesTheRuntime) {
    replay([](const DdCase& c, double out[2]) {
        evaluate<DoubleDouble>(
            c,
            [](double h, double l) {
                return DoubleDouble{h, l};
            },
            [](DoubleDouble x) { return x.hi; },
            [](DoubleDouble x) { return double{static_cast<float>(x.hi)}; }, out);
    });
}

TEST(DoubleDoubleVectors, LongDoubleMatchesTheRuntime) {
    replay([](const DdCase& c, double out[2]) {
        evaluate<LongDouble>(
            c, makeLongDouble, [](LongDouble x) { return highWord(x); },
            [](LongDouble x) { return double{toFloat(x)}; }, out);
    });
}

TEST(LongDoubleWords, WidenHighWordAndOrder) {
    EXPECT_EQ(highWord(widen(0.5)), 0.5);
    EXPECT_EQ(lowWord(widen(0.5)), 0.0);
    EXPECT_FALSE(std::signbit(lowWord(widen(-0.5))));
    const LongDouble below = makeLongDouble(1.0, -0x1p-60), above = makeLongDouble(1.0, 0x1p-60);
    EXPECT_EQ(highWord(below), 1.0);
    EXPECT_TRUE(widen(1.0) > below);
    EXPECT_TRUE(widen(1.0) < above);
    EXPECT_TRUE(makeLongDouble(0.0, 0.0) == makeLongDouble(-0.0, 0.0));
    // Halfway between two floats: the low word would tip the rounding up, but takes no part.
    EXPECT_EQ(toFloat(makeLongDouble(1.0 + 0x1p-24, 0x1p-60)), 1.0f);
}

}  // namespace
}  // namespace tovrel::dsp
