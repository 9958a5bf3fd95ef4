// Our double-double arithmetic against the PowerPC runtime's own results: every bit, NaN
// payloads aside.
#include "dd_vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effect/dsp/double_double_emulation.h"
#include "effect/dsp/long_double.h"

namespace tovrel::dsp {
namespace {

using test::DdCase;
using test::DdOp;

bool sameWord(double expected, double actual) {
    if (std::isnan(expected)) return std::isnan(actual);
    return std::memcmp(&expected, &actual, sizeof expected) == 0;
}

double compareFlags(LongDouble a, LongDouble b) {
    return (a > b ? 1 : 0) + (a < b ? 2 : 0) + (a == b ? 4 : 0) + (a >= b ? 8 : 0) +
           (a <= b ? 16 : 0) + (a != b ? 32 : 0);
}

using Operation = LongDouble (*)(LongDouble, LongDouble);

// Replays every case through the four given operations and the type's comparison and narrowing.
void replay(const Operation (&ops)[4]) {
    const auto cases = test::readDdVectors(TOVREL_DD_VECTORS);
    ASSERT_EQ(cases.size(), 51736u) << TOVREL_DD_VECTORS;
    int mismatches[6] = {};
    for (const DdCase& c : cases) {
        const LongDouble a = makeLongDouble(c.aHigh, c.aLow), b = makeLongDouble(c.bHigh, c.bLow);
        LongDouble r{};
        if (c.op == DdOp::Compare) {
            r = widen(compareFlags(a, b));
        } else if (c.op == DdOp::Convert) {
            r = makeLongDouble(highWord(a), toFloat(a));
        } else {
            r = ops[static_cast<int>(c.op)](a, b);
        }
        if (sameWord(c.resultHigh, highWord(r)) && sameWord(c.resultLow, lowWord(r))) continue;
        if (++mismatches[static_cast<int>(c.op)] <= 3) {
            ADD_FAILURE() << "case " << c.index << " op " << static_cast<int>(c.op) << " class "
                          << int{c.kind} << std::hexfloat << ": (" << c.aHigh << ", " << c.aLow
                          << ") with (" << c.bHigh << ", " << c.bLow << ") expected ("
                          << c.resultHigh << ", " << c.resultLow << ") got (" << highWord(r) << ", "
                          << lowWord(r) << ")";
        }
    }
    for (int op = 0; op < 6; ++op) EXPECT_EQ(mismatches[op], 0) << "op " << op;
}

// On PowerPC the signal path calls the runtime itself; the emulation is checked there too.
TEST(DoubleDoubleVectors, EmulationMatchesTheRuntime) {
    replay({emulation::add, emulation::subtract, emulation::multiply, emulation::divide});
}

TEST(DoubleDoubleVectors, SignalPathArithmeticMatchesTheRuntime) {
    replay({add, subtract, multiply, divide});
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
