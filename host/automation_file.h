// Reads an automation file, CSV or JSON, against a plug-in.
//
// CSV: a header line naming the columns, in any order: `seconds` or `frame` (when each point
// is), `parameter` (name or index), `value` (normalised), and optionally `shape` (`linear`, the
// default, ramps from the point before; `step` jumps at this point). Blank lines and lines
// starting with # are skipped.
// JSON: an array of points, or {"points": [...]}, each an object with the same fields.
#pragma once

#include <string>
#include <vector>

#include "automation.h"
#include "plugin.h"

namespace tovrel {

struct AutomationFileSettings {
    double sampleRate = 44100.0;  // turns seconds into frames
    int step = 32;                // longest sub-block, in frames
    bool allowOutOfRange = false;
};

// Throws HostError with one line naming the file, the line (or point) and the field at fault.
// A parameter "N:KEY" belongs to the chain's member N (from 1), a bare KEY to the first member
// that has it.
Automation readAutomationFile(const std::string& path, const std::vector<Plugin*>& chain,
                              const AutomationFileSettings& settings);

}  // namespace tovrel
