// Value texts: the exact digits a host shows, cut to the caller's limit, and exactly N + 1
// bytes written (the text, zeros through position N, nothing after).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "frame/bounded_copy.h"
#include "frame_test_support.h"

namespace {

// One text operation by letter: f float, d decibels, h hertz, m milliseconds, i integer.
void write(AudioEffect& effect, char op, double value, char* text, VstInt32 maxLen) {
    const auto v = static_cast<float>(value);
    if (op == 'f') effect.float2string(v, text, maxLen);
    if (op == 'd') effect.dB2string(v, text, maxLen);
    if (op == 'h') effect.Hz2string(v, text, maxLen);
    if (op == 'm') effect.ms2string(v, text, maxLen);
    if (op == 'i') effect.int2string(static_cast<VstInt32>(value), text, maxLen);
}

struct Row {
    char op;
    double value;
    const char* text;
    VstInt32 maxLen = 8;
};
constexpr double kInf = std::numeric_limits<double>::infinity();

// Digits truncated from the exact single-precision value, eight characters in all; integer
// parts that fill the budget keep every digit.
const Row kFloats[] = {
    {'f', 0.0, "0.000000"},      {'f', 0.1, "0.100000"},      {'f', 0.7, "0.699999"},
    {'f', 0.0001, "0.000099"},   {'f', 12.5, "12.50000"},     {'f', 123.456, "123.4560"},
    {'f', -0.5, "-0.50000"},     {'f', -123456, "-123456."},  {'f', 1234567, "1234567."},
    {'f', -0.0, "0.000000"},     {'f', NAN, "0.000000"},      {'f', 1e8, "Huge!"},
    {'f', kInf, "Huge!"},        {'f', -1e7, "Huge!"},        {'f', 12345678, "12345678"},
    {'f', 99999992, "99999992"}, {'f', -9999999, "-9999999"}, {'f', 0.5, "0.50", 4},
};
// Units at 44100 Hz; shorter limits cut the text.
const Row kUnits[] = {
    {'d', 2.0, "6.020599"}, {'d', 0.5, "-6.02059"},  {'d', 0.0, "-oo"},    {'d', 0.0, "-o", 2},
    {'h', 441, "100.0000"}, {'h', -0.0, "0.000000"}, {'m', 1, "0.022675"}, {'f', 0.5, "", 0},
};
void expectText(AudioEffect& effect, const Row& row) {
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    write(effect, row.op, row.value, buffer, row.maxLen);
    EXPECT_STREQ(buffer, row.text) << row.op << " " << row.value;
    for (std::size_t i = std::strlen(buffer); i < sizeof buffer; ++i) {
        EXPECT_EQ(buffer[i], i <= static_cast<std::size_t>(row.maxLen) ? '\0' : '#') << i;
    }
}

TEST(ValueText, ExactDigitsCutToTheLimitAndNothingWrittenPastIt) {
    BareEffect effect;
    for (const Row& row : kFloats) expectText(effect, row);
    for (const Row& row : kUnits) expectText(effect, row);
    // Integers: plain decimal without leading zeros, never a wrong number.
    for (VstInt32 v : {5, 1000, -42, -1234, 0, 99999999, -999999999}) {
        expectText(effect, {'i', double(v), std::to_string(v).c_str(), 12});
    }
    for (VstInt32 v : {100000000, -1000000000, INT32_MIN})
        expectText(effect, {'i', double(v), "Huge!"});
    expectText(effect, {'i', -1234, "-12", 3});
    effect.setSampleRate(0.0f);
    expectText(effect, {'m', 1, "Huge!"});
    // No buffer, or no room in it: nothing is written.
    char buffer[4] = "abc";
    for (char op : {'f', 'd', 'h', 'm', 'i'}) {
        write(effect, op, 0.0, nullptr, 8);
        write(effect, op, 0.0, buffer, -1);
    }
    EXPECT_STREQ(buffer, "abc");
    boundedCopy(nullptr, "x", 2);
    boundedCopy(buffer, nullptr, 1);  // a missing source reads as empty: N + 1 bytes
    EXPECT_EQ(std::string(buffer, 3), std::string("\0\0c", 3));
}

}  // namespace
