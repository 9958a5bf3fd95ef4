#include "check.h"

namespace tovrel::validation {

std::vector<Check> allChecks() {
    std::vector<Check> checks;
    addLoadingChecks(checks);
    addTextChecks(checks);
    addRangeChecks(checks);
    addProgramChecks(checks);
    addStateChecks(checks);
    addProcessingChecks(checks);
    addNumericChecks(checks);
    addDeterminismChecks(checks);
    addRealtimeChecks(checks);
    addThreadChecks(checks);
    return checks;
}

}  // namespace tovrel::validation
