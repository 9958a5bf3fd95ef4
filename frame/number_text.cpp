#include "frame/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kCharacterBudget = 8;
// Exact doubles, as pow(10, n) gives them for every fraction length: no maths library needed.
constexpr double kPowersOfTen[kCharacterBudget + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr double kPositiveLimit = 99999999.0;
constexpr float kNegativeLimit = 9999999.0f;
constexpr std::int32_t kIntPositiveLimit = 99999999;
// Below this the leading quotient would exceed one digit.
constexpr std::int32_t kIntNegativeLimit = -999999999;
const char kHuge[] = "Huge!";

// d lies in [0, 10) or is a NaN; a NaN reads as digit zero, as the hardware's truncation of
// it to the most negative integer leaves a zero low byte.
char digitOf(double d) {
    return static_cast<char>('0' + (std::isnan(d) ? 0 : static_cast<int>(d)));
}

void copyReversed(const char* digits, int count, char*& cursor) {
    for (int i = count - 1; i >= 0; --i) *cursor++ = digits[i];
}

}  // namespace

void formatFloatText(float value, char (&out)[kNumberTextSize]) {
    double v = value;
    const bool negative = v < 0.0;
    if (negative) v = -v;
    if (negative ? v > kNegativeLimit : v > kPositiveLimit) {
        std::strcpy(out, kHuge);
        return;
    }
    int used = negative ? 3 : 2;  // first digit and point, plus the sign
    char integerDigits[kCharacterBudget + 1];
    int integerCount = 0;
    const double integ = std::floor(v);
    integerDigits[integerCount++] = digitOf(std::fmod(integ, 10.0));
    double q = integ / 10.0;
    while (q >= 1.0 && used <= kCharacterBudget - 1) {
        ++used;
        integerDigits[integerCount++] = digitOf(std::fmod(q, 10.0));
        q = q / 10.0;
    }
    // One integer digit too many for the budget (8 digits, or 7 with a sign): show all of
    // them and drop the point rather than lose the leading digit.
    const bool integerFillsBudget = q >= 1.0;
    if (integerFillsBudget) integerDigits[integerCount++] = digitOf(std::fmod(q, 10.0));

    char* cursor = out;
    if (negative) *cursor++ = '-';
    copyReversed(integerDigits, integerCount, cursor);
    if (!integerFillsBudget) *cursor++ = '.';
    if (!integerFillsBudget && used < kCharacterBudget) {
        const int fractionCount = kCharacterBudget - used;
        char fractionDigits[kCharacterBudget];
        double m = kPowersOfTen[fractionCount] * std::fmod(v, 1.0);
        for (int i = 0; i < fractionCount; ++i) {
            if (m <= 0.0) {
                fractionDigits[i] = '0';
            } else {
                fractionDigits[i] = digitOf(std::fmod(m, 10.0));
                m = m / 10.0;
            }
        }
        copyReversed(fractionDigits, fractionCount, cursor);
    }
    *cursor = '\0';
}

void formatIntText(std::int32_t value, char (&out)[kNumberTextSize]) {
    if (value > kIntPositiveLimit || value < kIntNegativeLimit) {
        std::strcpy(out, kHuge);
        return;
    }
    char* cursor = out;
    if (value < 0) {
        *cursor++ = '-';
        value = -value;
    }
    bool seenNonZero = false;
    for (std::int32_t divisor = 100000000; divisor >= 1; divisor /= 10) {
        const std::int32_t digit = value / divisor;
        value -= digit * divisor;
        seenNonZero = seenNonZero || digit > 0;
        if (seenNonZero) *cursor++ = static_cast<char>('0' + digit);
    }
    // Zero has no non-zero digit; it still deserves a digit of its own.
    if (!seenNonZero) *cursor++ = '0';
    *cursor = '\0';
}
