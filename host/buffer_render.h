// Renders audio held in memory: the demo, the tests and the PowerPC render check use it.
#pragma once

#include <algorithm>
#include <type_traits>
#include <vector>

#include "block_renderer.h"
#include "processing_session.h"

namespace tovrel {

template <typename T>
struct BufferRender {
    std::vector<T> audio;  // interleaved, `channels` values per frame
    int channels = 0;
    double pluginSeconds = 0.0;
};

// One processing session over the whole buffer; T picks the precision.
template <typename T>
BufferRender<T> renderBuffer(Plugin& plugin, const std::vector<T>& input, int channels,
                             double sampleRate, int blockSize) {
    const Precision precision = std::is_same_v<T, double> ? Precision::Double : Precision::Single;
    ProcessingSession session(plugin, sampleRate, blockSize, precision);
    BlockRenderer<T> renderer(plugin, channels, blockSize);
    const auto frames = static_cast<long long>(input.size() / static_cast<std::size_t>(channels));
    BufferRender<T> result;
    result.channels = renderer.outputChannels();
    result.audio.resize(static_cast<std::size_t>(frames) * result.channels);
    for (long long done = 0; done < frames; done += blockSize) {
        const int count = static_cast<int>(std::min<long long>(blockSize, frames - done));
        renderer.render(input.data() + done * channels,
                        result.audio.data() + done * result.channels, count);
    }
    result.pluginSeconds = renderer.pluginSeconds();
    return result;
}

}  // namespace tovrel
