#include "measurement_csv.h"

#include <cstdio>

#include "sine.h"

namespace tovrel::measurement {
namespace {

// A field is quoted when it holds a comma or a quote; quotes inside are doubled.
std::string field(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

class Rows {
  public:
    explicit Rows(std::string& out) : out_(out) {}
    void add(const std::string& setting, const std::string& quantity, std::size_t channel, double x,
             const char* xUnit, double y, const char* yUnit) {
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, ",%zu,%.10g,%s,%.10g,%s\n", channel, x, xUnit, y,
                      yUnit);
        out_ += field(setting) + "," + quantity + numbers;
    }

  private:
    std::string& out_;
};

void addResponse(Rows& rows, const std::string& label, const FrequencyResponse& response) {
    for (std::size_t c = 0; c < response.channels.size(); ++c) {
        for (const ResponsePoint& p : response.channels[c].points) {
            rows.add(label, "magnitude", c + 1, p.frequency, "Hz", p.magnitudeDb, "dB");
        }
        for (const ResponsePoint& p : response.channels[c].points) {
            rows.add(label, "phase", c + 1, p.frequency, "Hz", p.phaseDegrees, "degrees");
        }
    }
}

void addHarmonics(Rows& rows, const std::string& label, const Harmonics& harmonics) {
    for (std::size_t c = 0; c < harmonics.channels.size(); ++c) {
        const ChannelHarmonics& channel = harmonics.channels[c];
        for (const HarmonicLevel& h : channel.harmonics) {
            rows.add(label, "harmonic " + std::to_string(h.number), c + 1, h.frequency, "Hz",
                     h.levelDb, "dBFS");
        }
        rows.add(label, "thd", c + 1, kTestFrequency, "Hz", channel.thdPercent, "%");
        for (const SpectrumPoint& p : channel.spectrum) {
            rows.add(label, "spectrum", c + 1, p.frequency, "Hz", p.levelDb, "dBFS");
        }
    }
}

}  // namespace

std::string measurementCsv(const std::vector<SettingMeasurements>& settings) {
    std::string out = "setting,quantity,channel,x,x_unit,y,y_unit\n";
    Rows rows(out);
    for (const SettingMeasurements& setting : settings) {
        if (setting.response) addResponse(rows, setting.label, *setting.response);
        if (setting.transfer) {
            for (const TransferPoint& p : *setting.transfer) {
                // Every output channel's highest peak: reported as channel 0, meaning all.
                rows.add(setting.label, "transfer", 0, p.inputDb, "dBFS", p.outputDb, "dBFS");
            }
        }
        if (setting.harmonics) addHarmonics(rows, setting.label, *setting.harmonics);
    }
    return out;
}

}  // namespace tovrel::measurement
