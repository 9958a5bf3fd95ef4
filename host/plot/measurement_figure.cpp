#include "measurement_figure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/measurement/level.h"

namespace tovrel::plot {
namespace {

using namespace measurement;

Axis frequencyAxis(int sampleRate) {
    return {"frequency (Hz)", kLowestFrequency, sampleRate / 2.0, true, 0.0};
}

// A decibel axis in steps of `step` around the values, no deeper than `depth` below the top.
Axis decibelAxis(const std::string& label, double low, double high, double step, double depth) {
    const double top = step * std::ceil((high + 1.0) / step);
    const double bottom = std::max(step * std::floor((low - 1.0) / step), top - depth);
    return {label, bottom, top, false, 0.0};
}

std::string channelName(std::size_t channel, std::size_t channels) {
    if (channels == 2) return channel == 0 ? "left" : "right";
    return "channel " + std::to_string(channel + 1);
}

void addResponse(const SettingMeasurements& setting, int colour, Panel& magnitude, Panel& phase) {
    const FrequencyResponse& response = *setting.response;
    const std::size_t shown = response.channelsDiffer ? response.channels.size() : 1;
    for (std::size_t c = 0; c < shown; ++c) {
        Series level, angle;
        level.label = setting.label;
        if (response.channelsDiffer) level.label += ", " + channelName(c, shown);
        level.colour = angle.colour = colour;
        level.dashed = angle.dashed = c > 0;
        angle.label = level.label;
        angle.breakAbove = 180.0;
        for (const ResponsePoint& point : response.channels[c].points) {
            level.x.push_back(point.frequency);
            level.y.push_back(point.magnitudeDb);
            angle.x.push_back(point.frequency);
            angle.y.push_back(point.phaseDegrees);
        }
        magnitude.series.push_back(level);
        phase.series.push_back(angle);
    }
}

std::vector<Panel> responsePanels(const std::vector<SettingMeasurements>& settings,
                                  int sampleRate) {
    Panel magnitude, phase;
    char title[96];
    std::snprintf(title, sizeof title, "Frequency response, impulse at %g dBFS",
                  settings.front().response->levelDb);
    magnitude.title = title;
    magnitude.x = phase.x = frequencyAxis(sampleRate);
    magnitude.legendAt = Corner::BottomLeft;
    phase.title = "Phase";
    phase.y = {"phase (degrees)", -180.0, 180.0, false, 45.0};
    phase.legendAt = Corner::BottomLeft;
    double low = 0.0, high = 0.0;
    for (std::size_t s = 0; s < settings.size(); ++s) {
        addResponse(settings[s], static_cast<int>(s), magnitude, phase);
    }
    for (const Series& series : magnitude.series) {
        low = std::min(low, *std::min_element(series.y.begin(), series.y.end()));
        high = std::max(high, *std::max_element(series.y.begin(), series.y.end()));
    }
    magnitude.y = decibelAxis("magnitude (dB)", low, high, 6.0, 48.0);
    return {magnitude, phase};
}

Panel transferPanel(const std::vector<SettingMeasurements>& settings) {
    Panel panel;
    panel.title = "Transfer curve, 1 kHz sine";
    panel.x = {"input peak (dBFS)", -60.0, 6.0, false, 6.0};
    panel.legendAt = Corner::BottomRight;
    double low = -60.0, high = 6.0;
    for (std::size_t s = 0; s < settings.size(); ++s) {
        Series series;
        series.label = settings[s].label;
        series.colour = static_cast<int>(s);
        for (const TransferPoint& point : *settings[s].transfer) {
            series.x.push_back(point.inputDb);
            series.y.push_back(point.outputDb);
            low = std::min(low, point.outputDb);
            high = std::max(high, point.outputDb);
        }
        panel.series.push_back(series);
    }
    Series unity;
    unity.label = "unity (output = input)";
    unity.reference = true;
    unity.x = unity.y = {-60.0, 6.0};
    panel.series.push_back(unity);
    panel.y = decibelAxis("output peak (dBFS)", low, high, 6.0, 96.0);
    return panel;
}

Panel harmonicsPanel(const std::vector<SettingMeasurements>& settings, int sampleRate) {
    Panel panel;
    const Harmonics& first = *settings.front().harmonics;
    char title[96];
    std::snprintf(title, sizeof title, "Harmonics of 1 kHz at %g dBFS%s, Hn in dB re H1",
                  first.levelDb, first.channels.size() > 1 ? " (left)" : "");
    panel.title = title;
    panel.x = frequencyAxis(sampleRate);
    panel.legendAt = Corner::TopLeft;
    double high = -200.0;
    for (std::size_t s = 0; s < settings.size(); ++s) {
        const ChannelHarmonics& channel = settings[s].harmonics->channels.front();
        Series series;
        series.label = settings[s].label;
        series.colour = static_cast<int>(s);
        series.width = 1.2;  // dense spectra stay apart
        char thd[64];
        std::snprintf(thd, sizeof thd, "THD %.4g%% (%.1f dB)", channel.thdPercent, channel.thdDb);
        // Three a line keep the legend left of the fundamental.
        series.details = {thd, harmonicsText(channel, 2, 4), harmonicsText(channel, 5, 7),
                          harmonicsText(channel, 8, 10)};
        for (const SpectrumPoint& point : channel.spectrum) {
            series.x.push_back(point.frequency);
            series.y.push_back(point.levelDb);
            high = std::max(high, point.levelDb);
        }
        panel.series.push_back(series);
    }
    // Headroom above the fundamental for the legend.
    panel.y = decibelAxis("level (dBFS)", -240.0, high + 40.0, 20.0, 200.0);
    panel.y.step = 20.0;
    return panel;
}

}  // namespace

std::string harmonicsText(const ChannelHarmonics& channel, int first, int last) {
    std::string text;
    for (const HarmonicLevel& h : channel.harmonics) {
        if (h.number < first || h.number > last) continue;
        char item[32];
        std::snprintf(item, sizeof item, "%sH%d %.1f", text.empty() ? "" : "  ", h.number,
                      h.relativeDb);
        text += item;
    }
    return text;
}

Figure measurementFigure(const std::string& title, const std::string& subtitle,
                         const std::vector<SettingMeasurements>& settings, int sampleRate) {
    Figure figure;
    figure.title = title;
    figure.subtitle = subtitle;
    if (settings.empty()) return figure;
    if (settings.front().response) {
        for (Panel& panel : responsePanels(settings, sampleRate)) figure.panels.push_back(panel);
    }
    if (settings.front().transfer) figure.panels.push_back(transferPanel(settings));
    if (settings.front().harmonics) figure.panels.push_back(harmonicsPanel(settings, sampleRate));
    return figure;
}

}  // namespace tovrel::plot
