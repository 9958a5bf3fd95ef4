// Everything measured for one setting of a plug-in, and what to measure.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frequency_response.h"
#include "harmonics.h"
#include "transfer_curve.h"

namespace tovrel::measurement {

struct MeasureOptions {
    ProbeSetup probe;
    bool response = true, transfer = true, harmonics = true;
    ResponseOptions responseOptions;
    TransferOptions transferOptions;
    HarmonicsOptions harmonicsOptions;
};

struct SettingMeasurements {
    std::string label;  // how the setting is named in legends, e.g. "Hi=0.8, Lo=0.8"
    std::optional<FrequencyResponse> response;
    std::optional<std::vector<TransferPoint>> transfer;
    std::optional<Harmonics> harmonics;
};

SettingMeasurements measureSetting(const std::string& label, const InstanceFactory& factory,
                                   const MeasureOptions& options);

}  // namespace tovrel::measurement
