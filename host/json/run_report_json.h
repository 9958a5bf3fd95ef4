// A run's summary as JSON: levels per channel, time and speed, clipping. Silence has no level
// in dBFS and reads null.
#pragma once

#include <nlohmann/json.hpp>

#include "host/run_summary.h"

namespace tovrel {

nlohmann::ordered_json runReportJson(const RunReport& report);

}  // namespace tovrel
