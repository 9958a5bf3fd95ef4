#include "outcome.h"

namespace tovrel::validation {

const char* verdictWord(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "PASS";
        case Verdict::Info:
            return "INFO";
        case Verdict::Warn:
            return "WARN";
        case Verdict::Skip:
            return "SKIP";
        case Verdict::Fail:
            return "FAIL";
    }
    return "FAIL";
}

std::string expectedSeen(const std::string& expected, const std::string& seen) {
    return "expected " + expected + ", seen " + seen;
}

}  // namespace tovrel::validation
