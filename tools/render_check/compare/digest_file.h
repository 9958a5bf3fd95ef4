// Reading the render program's text output back: case digests, frame dumps, probe digests and
// probe samples.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tovrel::render {

struct CaseDigest {
    std::vector<std::string> chunks;                          // hash per chunk, in order
    std::vector<std::pair<std::string, std::string>> states;  // field, "HIGH LOW"
    std::string noise;                                        // "FPDL FPDR", or empty
    int chunkFrames = 0;
    bool complete = false;  // its end line was seen
};

struct ProbeDigest {
    std::string kind;
    std::string hash;  // "count=N HASH"
};

struct DigestFile {
    std::map<std::string, CaseDigest> cases;
    std::vector<std::string> order;  // case names in the order first seen
    std::map<std::string, ProbeDigest> probes;
};

DigestFile parseDigest(const std::string& text);

// The argument and result words of "frame" or "sample" lines, keyed by their index.
std::map<long, std::vector<std::uint64_t>> parseIndexedWords(const std::string& text,
                                                             const std::string& tag);

}  // namespace tovrel::render
