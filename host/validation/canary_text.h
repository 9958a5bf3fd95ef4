// A text buffer far larger than the published length and filled with a canary pattern, so a
// plug-in that writes past the length is seen without corrupting anything of ours.
#pragma once

#include <functional>
#include <string>

#include "frame/aeffect.h"

namespace tovrel::validation {

constexpr int kCanaryBytes = 1024;

struct TextReading {
    std::string text;         // up to the first terminator, or all bytes written when none
    int written = 0;          // bytes changed, counted to the last one changed
    bool terminated = false;  // a terminator within the limit
};

// Lets `fill` write into the buffer and reads what it did.
TextReading readText(const std::function<void(char*)>& fill, int limit);

// Throws a CheckFailure naming `what` when the text overran `limit` bytes (terminator
// included) or was left without a terminator inside them. Returns the text.
std::string checkedText(const std::string& what, const std::function<void(char*)>& fill, int limit);

// True when `fill` left every byte of the buffer alone.
bool leavesBufferAlone(const std::function<void(char*)>& fill);

class Instance;

// "parameter 3 \"Drive\"": how a failure names a parameter.
std::string parameterTitle(Instance& instance, VstInt32 index);

// The text in quotes, with unprintable bytes escaped.
std::string quoted(const std::string& text);

}  // namespace tovrel::validation
