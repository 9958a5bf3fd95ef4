#include "canary_text.h"

#include <cstdio>
#include <vector>

#include "frame/opcodes.h"
#include "instance.h"
#include "outcome.h"

namespace tovrel::validation {
namespace {

unsigned char canaryAt(int i) {
    return static_cast<unsigned char>(0xA5 ^ (i * 7));
}

std::vector<char> canaryBuffer() {
    std::vector<char> buffer(kCanaryBytes);
    for (int i = 0; i < kCanaryBytes; ++i) buffer[i] = static_cast<char>(canaryAt(i));
    return buffer;
}

}  // namespace

TextReading readText(const std::function<void(char*)>& fill, int limit) {
    std::vector<char> buffer = canaryBuffer();
    fill(buffer.data());
    TextReading reading;
    for (int i = 0; i < kCanaryBytes; ++i) {
        if (static_cast<unsigned char>(buffer[i]) != canaryAt(i)) reading.written = i + 1;
    }
    int end = 0;
    while (end < kCanaryBytes && buffer[end] != '\0') ++end;
    reading.terminated = end < limit;
    reading.text.assign(buffer.data(),
                        static_cast<std::size_t>(end < kCanaryBytes ? end : reading.written));
    return reading;
}

std::string checkedText(const std::string& what, const std::function<void(char*)>& fill,
                        int limit) {
    const TextReading reading = readText(fill, limit);
    const std::string expected =
        "at most " + std::to_string(limit - 1) + " characters and a terminator";
    if (reading.written > limit) {
        throw CheckFailure(what + ": " +
                           expectedSeen(expected, std::to_string(reading.written) +
                                                      " bytes written " + quoted(reading.text)));
    }
    if (reading.written > 0 && !reading.terminated) {
        throw CheckFailure(
            what + ": " +
            expectedSeen(expected, "no terminator in " + std::to_string(limit) + " bytes"));
    }
    return reading.written == 0 ? std::string() : reading.text;
}

bool leavesBufferAlone(const std::function<void(char*)>& fill) {
    return readText(fill, 1).written == 0;
}

std::string parameterTitle(Instance& instance, VstInt32 index) {
    const TextReading name = readText(
        [&](char* text) { instance.dispatch(effGetParamName, index, 0, text); }, kCanaryBytes);
    return "parameter " + std::to_string(index) + " " + quoted(name.text);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace tovrel::validation
