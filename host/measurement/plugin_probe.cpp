#include "plugin_probe.h"

#include "host/buffer_render.h"

namespace tovrel::measurement {
namespace {

template <typename T>
ChannelSignals run(Plugin& plugin, const ProbeSetup& setup, const std::vector<double>& signal) {
    const std::vector<T> input(signal.begin(), signal.end());
    const BufferRender<T> rendered =
        renderBuffer(plugin, input, 1, setup.sampleRate, setup.blockSize);
    ChannelSignals channels(static_cast<std::size_t>(rendered.channels),
                            std::vector<double>(signal.size()));
    for (std::size_t i = 0; i < signal.size(); ++i) {
        for (std::size_t c = 0; c < channels.size(); ++c) {
            channels[c][i] = static_cast<double>(rendered.audio[i * channels.size() + c]);
        }
    }
    return channels;
}

}  // namespace

ChannelSignals probe(const InstanceFactory& factory, const ProbeSetup& setup,
                     const std::vector<double>& signal) {
    const std::unique_ptr<Plugin> plugin = factory();
    if (setup.precision == Precision::Double) return run<double>(*plugin, setup, signal);
    return run<float>(*plugin, setup, signal);
}

}  // namespace tovrel::measurement
