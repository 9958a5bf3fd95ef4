// The decimal texts a host shows next to a parameter, built into a small scratch buffer so
// the callers only decide where and how much of it to copy.
#pragma once

#include <cstdint>

constexpr int kNumberTextSize = 16;  // longest text is 10 characters plus the terminator

// At most eight characters: sign, integer digits, point, fraction digits; digits truncated,
// never rounded. Values the budget cannot show give "Huge!".
void formatFloatText(float value, char (&out)[kNumberTextSize]);

// A signed integer without leading zeros; out-of-range values give "Huge!".
void formatIntText(std::int32_t value, char (&out)[kNumberTextSize]);
