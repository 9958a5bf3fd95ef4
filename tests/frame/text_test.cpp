// Value texts: the exact digits a host shows, the cut to the caller's limit, and bounded
// copies that write exactly N + 1 bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "frame/bounded_copy.h"
#include "frame_test_support.h"

namespace {

constexpr char kCanary = '#';

// Runs one text operation into a canary-filled buffer and checks nothing past maxLen moved.
template <typename Operation>
std::string render(Operation operation, VstInt32 maxLen = 8) {
    char buffer[32];
    std::memset(buffer, kCanary, sizeof buffer);
    operation(buffer, maxLen);
    for (std::size_t i = static_cast<std::size_t>(maxLen) + 1; i < sizeof buffer; ++i) {
        EXPECT_EQ(buffer[i], kCanary) << "written past the limit at " << i;
    }
    EXPECT_EQ(buffer[maxLen], '\0');
    return buffer;
}

std::string floatText(float value, VstInt32 maxLen = 8) {
    BareEffect effect;
    return render([&](char* t, VstInt32 n) { effect.float2string(value, t, n); }, maxLen);
}

std::string intText(VstInt32 value, VstInt32 maxLen = 8) {
    BareEffect effect;
    return render([&](char* t, VstInt32 n) { effect.int2string(value, t, n); }, maxLen);
}

TEST(FloatText, TruncatesToEightCharacters) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0.000000"},          {0.1f, "0.100000"},       {0.5f, "0.500000"},
        {0.7f, "0.699999"},          {0.9f, "0.899999"},       {1.0f, "1.000000"},
        {0.0001f, "0.000099"},       {12.5f, "12.50000"},      {123.456f, "123.4560"},
        {-0.5f, "-0.50000"},         {-1.25f, "-1.25000"},     {-123456.0f, "-123456."},
        {1234567.0f, "1234567."},    {9999999.0f, "9999999."}, {-0.0f, "0.000000"},
        {std::nanf(""), "0.000000"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(floatText(value), expected) << value;
}

TEST(FloatText, OutOfRangeIsHuge) {
    for (float value : {1.0e8f, std::numeric_limits<float>::infinity(), -1.0e7f,
                        -std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(floatText(value), "Huge!") << value;
    }
}

TEST(FloatText, IntegerPartsThatFillTheBudgetKeepEveryDigit) {
    EXPECT_EQ(floatText(12345678.0f), "12345678");
    EXPECT_EQ(floatText(10000000.0f), "10000000");
    EXPECT_EQ(floatText(99999992.0f), "99999992");  // largest float below the limit
    EXPECT_EQ(floatText(-1234567.0f), "-1234567");
    EXPECT_EQ(floatText(-9999999.0f), "-9999999");
}

TEST(FloatText, ShorterLimitsCutTheText) {
    EXPECT_EQ(floatText(0.5f, 4), "0.50");
    EXPECT_EQ(floatText(1.0e9f, 3), "Hug");
    EXPECT_EQ(floatText(0.5f, 0), "");
    EXPECT_EQ(floatText(0.5f, 12), "0.500000");
}

TEST(FloatText, NoBufferOrNoRoomWritesNothing) {
    BareEffect effect;
    effect.float2string(1.0f, nullptr, 8);
    effect.int2string(1, nullptr, 8);
    effect.dB2string(0.0f, nullptr, 8);
    char buffer[4] = "abc";
    effect.float2string(1.0f, buffer, -1);
    effect.dB2string(0.0f, buffer, -1);
    EXPECT_STREQ(buffer, "abc");
}

TEST(UnitText, DecibelsHertzAndMilliseconds) {
    BareEffect effect;
    const auto dB = [&](float v) {
        return render([&](char* t, VstInt32 n) { effect.dB2string(v, t, n); });
    };
    const auto hz = [&](float v) {
        return render([&](char* t, VstInt32 n) { effect.Hz2string(v, t, n); });
    };
    const auto ms = [&](float v) {
        return render([&](char* t, VstInt32 n) { effect.ms2string(v, t, n); });
    };
    EXPECT_EQ(dB(1.0f), "0.000000");
    EXPECT_EQ(dB(0.0f), "-oo");
    EXPECT_EQ(dB(-1.0f), "-oo");
    EXPECT_EQ(dB(10.0f), "20.00000");
    EXPECT_EQ(dB(2.0f), "6.020599");
    EXPECT_EQ(dB(0.5f), "-6.02059");
    EXPECT_EQ(hz(0.0f), "0.000000");
    EXPECT_EQ(hz(-0.0f), "0.000000");
    EXPECT_EQ(hz(441.0f), "100.0000");
    EXPECT_EQ(hz(3.0f), "14700.00");
    EXPECT_EQ(ms(44100.0f), "1000.000");
    EXPECT_EQ(ms(1.0f), "0.022675");
    effect.setSampleRate(0.0f);
    EXPECT_EQ(ms(1.0f), "Huge!");
    EXPECT_EQ(hz(0.0f), "0.000000");
}

TEST(UnitText, ConversionsGoThroughTheVirtualFloatText) {
    struct Marked : BareEffect {
        void float2string(float, char* text, VstInt32) override { std::strcpy(text, "mark"); }
    } effect;
    char buffer[16];
    effect.dB2string(2.0f, buffer, 8);
    EXPECT_STREQ(buffer, "mark");
    effect.ms2string(2.0f, buffer, 8);
    EXPECT_STREQ(buffer, "mark");
}

TEST(IntText, DigitsWithoutLeadingZeros) {
    const std::pair<VstInt32, const char*> cases[] = {
        {5, "5"},
        {7, "7"},
        {1000, "1000"},
        {-42, "-42"},
        {-1234, "-1234"},
        {99999999, "99999999"},
        {100000000, "Huge!"},
        {0, "0"},
        {-999999999, "-999999999"},
        {-1000000000, "Huge!"},
        {std::numeric_limits<VstInt32>::min(), "Huge!"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(intText(value, 12), expected) << value;
    EXPECT_EQ(intText(-1234, 3), "-12");
}

TEST(BoundedCopy, WritesExactlyNPlusOneBytes) {
    char buffer[16];
    std::memset(buffer, kCanary, sizeof buffer);
    boundedCopy(buffer, "ab", 8);
    EXPECT_EQ(std::string(buffer, 9), std::string("ab\0\0\0\0\0\0\0", 9));
    EXPECT_EQ(buffer[9], kCanary);

    std::memset(buffer, kCanary, sizeof buffer);
    boundedCopy(buffer, "abcdefghijklmnop", 8);
    EXPECT_STREQ(buffer, "abcdefgh");
    EXPECT_EQ(buffer[9], kCanary);

    std::memset(buffer, kCanary, sizeof buffer);
    boundedCopy(buffer, nullptr, 2);
    EXPECT_EQ(std::string(buffer, 4), std::string("\0\0\0#", 4));
    boundedCopy(nullptr, "x", 2);
}

}  // namespace
