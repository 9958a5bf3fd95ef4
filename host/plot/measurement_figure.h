// Turns measurements of one or more settings into a figure: magnitude and phase of the
// response, the transfer curve and the harmonics, each setting in its own colour.
#pragma once

#include <string>
#include <vector>

#include "figure.h"
#include "host/measurement/setting_measurements.h"

namespace tovrel::plot {

Figure measurementFigure(const std::string& title, const std::string& subtitle,
                         const std::vector<measurement::SettingMeasurements>& settings,
                         int sampleRate);

// "H2 -80.1  H3 -45.2 ..." in dB against the fundamental, for legends and summaries.
std::string harmonicsText(const measurement::ChannelHarmonics& channel, int first, int last);

}  // namespace tovrel::plot
