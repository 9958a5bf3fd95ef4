// Measurements as JSON: parallel arrays per curve, so each is easy to load into a plotting tool.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "host/measurement/setting_measurements.h"
#include "host/measurement/sine.h"

namespace tovrel {

nlohmann::ordered_json settingJson(const measurement::SettingMeasurements& setting);

}  // namespace tovrel
