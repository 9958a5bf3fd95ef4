// The summary every run ends with: levels in and out per channel, time and speed.
#pragma once

#include <cstdint>
#include <string>

#include "signal_stats.h"

namespace tovrel {

enum class TailSource { Option, Plugin, Detected };

struct RunReport {
    std::string title;  // names the render, e.g. "defaults"
    double sampleRate = 44100.0;
    double processingRate = 0.0;  // of the plug-ins, when --rate converted to it
    SignalStats input{0};
    SignalStats output{0};
    double seconds = 0.0;        // wall time of the whole render
    double pluginSeconds = 0.0;  // of which inside the plug-in
    bool integerOutput = false;  // clipping applies only to integer sample formats
    std::uint64_t clipped = 0;
    std::int64_t latency = 0;  // frames, the whole chain's, as reported after resume
    bool latencyCompensated = false;
    std::int64_t tailFrames = 0;  // rendered after the input
    TailSource tailSource = TailSource::Option;
};

std::string formatSummary(const RunReport& report);

}  // namespace tovrel
