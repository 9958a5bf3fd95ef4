// The floating-point environment a host sets and a plug-in must hand back unchanged: the SSE
// control register (rounding, flush-to-zero, denormals-are-zero) and the x87 control word.
#pragma once

#include <string>

namespace tovrel::validation {

struct FpMode {
    unsigned sse = 0;  // control bits only; the sticky exception flags are left out
    unsigned x87 = 0;
    int rounding = 0;
    bool operator==(const FpMode& other) const {
        return sse == other.sse && x87 == other.x87 && rounding == other.rounding;
    }
};

FpMode currentFpMode();
void setFpMode(const FpMode& mode);

// The modes a host may be in when it calls: the default, flushing, and rounding toward zero.
FpMode defaultFpMode();
FpMode flushingFpMode(const FpMode& from);
FpMode truncatingFpMode(const FpMode& from);

std::string fpModeText(const FpMode& mode);

}  // namespace tovrel::validation
