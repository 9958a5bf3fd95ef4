// Runs interleaved audio through plug-ins in series, block by block: each member's output
// feeds the next, matched to its inputs as hosts do (mono copied to every input, channels
// beyond its inputs dropped, inputs beyond the channels silent).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "block_renderer.h"

namespace tovrel {

// How a member's inputs are fed from the channels before it, e.g. "2 channels into 1 input,
// extra dropped"; empty when they match one to one.
inline std::string channelMatch(int channels, int inputs) {
    const auto count = [](int n, const char* what) {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    if (channels == inputs) return "";
    const std::string into = count(channels, "channel") + " into " + count(inputs, "input");
    if (channels == 1) return into + ", copied";
    if (channels > inputs) return into + ", extra dropped";
    return into + ", the rest silent";
}

template <typename T>
class ChainRenderer {
  public:
    // chain: at least one plug-in, each already in a processing session.
    ChainRenderer(const std::vector<Plugin*>& chain, int sourceChannels, int maxFrames) {
        int channels = sourceChannels;
        for (std::size_t m = 0; m < chain.size(); ++m) {
            stages_.push_back(
                std::make_unique<BlockRenderer<T>>(*chain[m], channels, maxFrames, m > 0));
            channels = stages_.back()->outputChannels();
            between_.emplace_back(static_cast<std::size_t>(channels) * maxFrames);
        }
    }

    int outputChannels() const { return stages_.back()->outputChannels(); }
    double pluginSeconds() const {
        double seconds = 0.0;
        for (const auto& stage : stages_) seconds += stage->pluginSeconds();
        return seconds;
    }

    // As BlockRenderer::render, through every member in turn.
    void render(const T* in, T* out, int frames) {
        for (std::size_t m = 0; m + 1 < stages_.size(); ++m) {
            stages_[m]->render(in, between_[m].data(), frames);
            in = between_[m].data();
        }
        stages_.back()->render(in, out, frames);
    }

  private:
    std::vector<std::unique_ptr<BlockRenderer<T>>> stages_;
    std::vector<std::vector<T>> between_;  // each member's output but the last
};

}  // namespace tovrel
