#include "text_fields.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tovrel {

std::string trimmed(const std::string& text, const char* blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<double> finiteNumber(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE ||
        !std::isfinite(parsed)) {
        return std::nullopt;
    }
    return parsed;
}

}  // namespace tovrel
