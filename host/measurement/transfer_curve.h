// Transfer curve: output peak against input peak for a 1 kHz sine stepped through levels in
// one run, each step long enough for the filters to settle before its peak is read.
#pragma once

#include <vector>

#include "plugin_probe.h"

namespace tovrel::measurement {

struct TransferPoint {
    double inputDb = 0.0;   // peak of the input sine, dBFS
    double outputDb = 0.0;  // highest sample peak over every output channel once settled, dBFS
};

struct TransferOptions {
    double fromDb = -60.0;
    double toDb = 6.0;
    double stepDb = 1.0;
    double settleSeconds = 0.15;
    double readSeconds = 0.05;
};

std::vector<TransferPoint> measureTransfer(const InstanceFactory& factory, const ProbeSetup& setup,
                                           const TransferOptions& options = {});

}  // namespace tovrel::measurement
