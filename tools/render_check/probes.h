// Probes of what the signal path takes from outside our code: the maths library (pow, tan,
// sqrt, frexp, frexpf), the double-double routines called in written operand order, and
// DoubleDouble's operators as the signal path uses them. Each probe feeds fixed arguments to one
// operation; when a render differs between builds, the probes tell which part disagrees.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace tovrel::render {

// Sees each probed call as its argument words and its result words (bit patterns).
class ProbeVisitor {
  public:
    virtual ~ProbeVisitor() = default;
    virtual void sample(std::initializer_list<std::uint64_t> arguments,
                        std::initializer_list<std::uint64_t> results) = 0;
};

struct Probe {
    const char* name;
    const char* kind;  // "maths", "routine" or "operator"
    void (*run)(ProbeVisitor& visitor);
};

const std::vector<Probe>& allProbes();
const Probe* findProbe(const std::string& name);

// "probe NAME KIND count=N HASH" for every probe.
void printProbeDigests(std::FILE* out);
// "sample I ARGS... -> RESULTS..." for the calls [first, first + count) of one probe.
void printProbeSamples(std::FILE* out, const Probe& probe, long first, long count);

}  // namespace tovrel::render
