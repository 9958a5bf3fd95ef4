// The numbers behind a figure as CSV, one measured value a row:
// setting,quantity,channel,x,x_unit,y,y_unit
#pragma once

#include <string>
#include <vector>

#include "setting_measurements.h"

namespace tovrel::measurement {

std::string measurementCsv(const std::vector<SettingMeasurements>& settings);

}  // namespace tovrel::measurement
