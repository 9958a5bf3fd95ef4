// Renders an audio file through the plug-in into another file, streaming block by block.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio_reader.h"
#include "automation.h"
#include "output_format.h"
#include "plugin.h"
#include "processing_session.h"
#include "run_summary.h"

namespace tovrel {

struct FileRenderSettings {
    std::string output;
    int blockSize = 512;
    Precision precision = Precision::Single;
    SampleBits bits = SampleBits::FollowInput;
    double tailSeconds = 0.0;  // silence appended so filters can ring out
    bool autoTail = false;     // instead: the plug-ins' own tail, or until the output is silent
    // Drops the plug-ins' reported latency from the start and renders as much more at the end,
    // so the output lines up with the input and loses nothing.
    bool compensateLatency = true;
    // The plug-ins run at this rate, the input converted to it and the output back; 0: the
    // input's own rate.
    double rate = 0.0;
    // Parameters that move during the render; its first values are set before processing
    // starts, as --set values are, and the rest at the start of each sub-block.
    Automation* automation = nullptr;
};

struct RenderHooks {
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
    std::function<bool()> cancelled;  // checked every block; true stops with an error
};

// Reads the whole input through the plug-in. The output appears only when the whole render
// succeeded; throws HostError otherwise.
RunReport renderFile(Plugin& plugin, AudioReader& input, const FileRenderSettings& settings,
                     const RenderHooks& hooks = {});
// The same through plug-ins in series (see ChainRenderer for how channels are matched).
RunReport renderFile(const std::vector<Plugin*>& chain, AudioReader& input,
                     const FileRenderSettings& settings, const RenderHooks& hooks = {});

}  // namespace tovrel
