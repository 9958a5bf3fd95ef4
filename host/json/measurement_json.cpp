#include "measurement_json.h"

namespace tovrel {
namespace {

using namespace measurement;
using json = nlohmann::ordered_json;

json responseJson(const FrequencyResponse& response) {
    json channels = json::array();
    for (std::size_t c = 0; c < response.channels.size(); ++c) {
        json frequency = json::array(), magnitude = json::array(), phase = json::array();
        for (const ResponsePoint& p : response.channels[c].points) {
            frequency.push_back(p.frequency);
            magnitude.push_back(p.magnitudeDb);
            phase.push_back(p.phaseDegrees);
        }
        const double corner = upperCorner(response.channels[c]);
        channels.push_back({{"channel", c + 1},
                            {"upperCornerHz", corner > 0 ? json(corner) : json(nullptr)},
                            {"frequencyHz", frequency},
                            {"magnitudeDb", magnitude},
                            {"phaseDegrees", phase}});
    }
    return {{"levelDbfs", response.levelDb},
            {"frames", response.frames},
            {"channelsDiffer", response.channelsDiffer},
            {"channels", channels}};
}

json transferJson(const std::vector<TransferPoint>& points) {
    json input = json::array(), output = json::array();
    for (const TransferPoint& p : points) {
        input.push_back(p.inputDb);
        output.push_back(p.outputDb);
    }
    return {{"frequencyHz", kTestFrequency}, {"inputDbfs", input}, {"outputPeakDbfs", output}};
}

json harmonicsJson(const Harmonics& harmonics) {
    json channels = json::array();
    for (std::size_t c = 0; c < harmonics.channels.size(); ++c) {
        const ChannelHarmonics& channel = harmonics.channels[c];
        json levels = json::array(), frequency = json::array(), spectrum = json::array();
        for (const HarmonicLevel& h : channel.harmonics) {
            levels.push_back({{"number", h.number},
                              {"frequencyHz", h.frequency},
                              {"levelDbfs", h.levelDb},
                              {"relativeDb", h.relativeDb}});
        }
        for (const SpectrumPoint& p : channel.spectrum) {
            frequency.push_back(p.frequency);
            spectrum.push_back(p.levelDb);
        }
        channels.push_back({{"channel", c + 1},
                            {"thdPercent", channel.thdPercent},
                            {"thdDb", channel.thdDb},
                            {"harmonics", levels},
                            {"spectrum", {{"frequencyHz", frequency}, {"levelDbfs", spectrum}}}});
    }
    return {
        {"frequencyHz", kTestFrequency}, {"levelDbfs", harmonics.levelDb}, {"channels", channels}};
}

}  // namespace

json settingJson(const SettingMeasurements& setting) {
    json out = {{"label", setting.label}};
    if (setting.response) out["response"] = responseJson(*setting.response);
    if (setting.transfer) out["transfer"] = transferJson(*setting.transfer);
    if (setting.harmonics) out["harmonics"] = harmonicsJson(*setting.harmonics);
    return out;
}

}  // namespace tovrel
