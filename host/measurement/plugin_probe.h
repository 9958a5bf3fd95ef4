// Runs a test signal through a fresh plug-in instance: the same mono signal into every input,
// every output read back. A fresh instance per probe, so no state carries between them.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "host/plugin.h"
#include "host/processing_session.h"

namespace tovrel::measurement {

// Makes an instance already set to the settings being measured.
using InstanceFactory = std::function<std::unique_ptr<Plugin>()>;

struct ProbeSetup {
    int sampleRate = 44100;
    Precision precision = Precision::Single;
    int blockSize = 512;
};

// One vector per output channel, as long as the signal.
using ChannelSignals = std::vector<std::vector<double>>;

ChannelSignals probe(const InstanceFactory& factory, const ProbeSetup& setup,
                     const std::vector<double>& signal);

}  // namespace tovrel::measurement
