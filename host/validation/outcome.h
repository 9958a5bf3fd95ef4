// What one check concludes: a verdict and, unless it passed, a line saying why.
#pragma once

#include <stdexcept>
#include <string>

namespace tovrel::validation {

enum class Verdict { Pass, Info, Warn, Skip, Fail };

const char* verdictWord(Verdict verdict);

struct Outcome {
    Verdict verdict = Verdict::Pass;
    std::string detail;
};

inline Outcome passed(std::string detail = {}) {
    return {Verdict::Pass, std::move(detail)};
}
inline Outcome informed(std::string detail) {
    return {Verdict::Info, std::move(detail)};
}
inline Outcome warned(std::string detail) {
    return {Verdict::Warn, std::move(detail)};
}
inline Outcome skipped(std::string detail) {
    return {Verdict::Skip, std::move(detail)};
}
inline Outcome failed(std::string detail) {
    return {Verdict::Fail, std::move(detail)};
}

// Thrown from deep inside a check to end it with a FAIL line.
class CheckFailure : public std::runtime_error {
  public:
    explicit CheckFailure(const std::string& detail) : std::runtime_error(detail) {}
};

// The entry point returned no record at all.
class NoRecord : public CheckFailure {
  public:
    NoRecord() : CheckFailure("the entry point returned no effect record") {}
};

// "expected X, seen Y": the shape of every failure line.
std::string expectedSeen(const std::string& expected, const std::string& seen);

}  // namespace tovrel::validation
