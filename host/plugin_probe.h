// What a listing shows of a plug-in file, learnt in a child process with a time limit, so a
// plug-in that crashes or hangs while loading costs one line rather than the listing.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "frame/aeffect.h"

namespace tovrel {

struct PluginSummary {
    std::string path;
    bool loaded = false;
    std::string problem;  // why not, when not loaded
    std::string name, vendor;
    VstInt32 uniqueId = 0;
    int inputs = 0, outputs = 0;
};

// Probes the files, up to atOnce children at a time; the summaries keep the files' order.
std::vector<PluginSummary> probePlugins(const std::vector<std::string>& paths,
                                        std::chrono::milliseconds limit, int atOnce);

}  // namespace tovrel
