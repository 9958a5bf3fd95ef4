// Renders many files at once: a few workers take the files in turn, each rendering through its
// own plug-in instances, so no two threads ever share one. A file that fails is recorded and the
// others go on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file_render.h"
#include "run_summary.h"

namespace tovrel {

struct BatchFile {
    std::string input;
    std::string output;
};

struct BatchResult {
    bool ok = false;
    std::string error;  // when not ok
    RunReport report;   // when ok
};

// What one worker is doing, for the progress line.
struct WorkerStatus {
    std::string input;  // empty while idle
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

struct BatchHooks {
    // Called with every worker's status whenever one moves, one call at a time.
    std::function<void(const std::vector<WorkerStatus>& workers, int finished)> progress;
    std::function<bool()> cancelled;  // true stops every render; files not begun are skipped
};

// Renders one file alone, from loading the plug-in on: the same as a single render does.
using RenderOne = std::function<RunReport(const BatchFile& file, const RenderHooks& hooks)>;

// One result per file, in the files' order.
std::vector<BatchResult> renderBatch(const std::vector<BatchFile>& files, int jobs,
                                     const RenderOne& renderOne, const BatchHooks& hooks = {});

// DIR/STEM SUFFIX.EXT for each input: the input's own extension unless `extension` is given.
// Throws HostError when two inputs would write the same output.
std::vector<BatchFile> batchOutputs(const std::vector<std::string>& inputs,
                                    const std::string& directory, const std::string& suffix,
                                    const std::string& extension);

}  // namespace tovrel
