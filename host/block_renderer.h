// Runs interleaved audio through the plug-in block by block, in the precision of T (float:
// processReplacing, double: processDoubleReplacing), and times the calls into the plug-in.
#pragma once

#include <chrono>
#include <string>
#include <type_traits>

#include "channel_buffers.h"
#include "host_error.h"
#include "plugin.h"

namespace tovrel {

template <typename T>
class BlockRenderer {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>, "float or double");

  public:
    // A file's audio wider than the plug-in is refused; within a chain (dropExtraChannels) the
    // channels beyond the plug-in's inputs are dropped, as hosts do.
    BlockRenderer(Plugin& plugin, int sourceChannels, int maxFrames, bool dropExtraChannels = false)
        : plugin_(plugin),
          sourceChannels_(sourceChannels),
          buffers_(plugin.record().numInputs, plugin.record().numOutputs, maxFrames) {
        const int inputs = plugin.record().numInputs;
        if (sourceChannels < 1 || (sourceChannels > inputs && !dropExtraChannels)) {
            throw HostError("the audio has " + std::to_string(sourceChannels) +
                            " channels but the plug-in takes " + std::to_string(inputs) +
                            " inputs");
        }
    }

    int outputChannels() const { return buffers_.outputCount(); }
    int maxFrames() const { return buffers_.maxFrames(); }
    double pluginSeconds() const { return pluginSeconds_; }

    // in: sourceChannels values per frame, or null for silence; out: outputChannels() per frame.
    // frames must not exceed maxFrames().
    void render(const T* in, T* out, int frames) {
        buffers_.scatter(in, sourceChannels_, frames);
        buffers_.clearOutputs(frames);
        AEffect* effect = &plugin_.record();
        const auto start = std::chrono::steady_clock::now();
        if constexpr (std::is_same_v<T, double>) {
            effect->processDoubleReplacing(effect, buffers_.inputs(), buffers_.outputs(), frames);
        } else {
            effect->processReplacing(effect, buffers_.inputs(), buffers_.outputs(), frames);
        }
        pluginSeconds_ +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        buffers_.gather(out, frames);
    }

  private:
    Plugin& plugin_;
    int sourceChannels_;
    ChannelBuffers<T> buffers_;
    double pluginSeconds_ = 0.0;
};

}  // namespace tovrel
