// Reading the fields a user types: in --set assignments and in automation files.
#pragma once

#include <optional>
#include <string>

namespace tovrel {

// Without leading and trailing characters from `blanks`.
std::string trimmed(const std::string& text, const char* blanks = " \t");

// The whole text as a finite number, or nothing (empty, trailing junk, out of range, inf, NaN).
std::optional<double> finiteNumber(const std::string& text);

}  // namespace tovrel
