#include "run_report_json.h"

#include <cmath>

namespace tovrel {
namespace {

nlohmann::ordered_json level(double amplitude) {
    const double db = toDbfs(amplitude);
    return std::isfinite(db) ? nlohmann::ordered_json(db) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json channels(const SignalStats& stats) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (int c = 0; c < stats.channels(); ++c) {
        list.push_back({{"channel", c + 1},
                        {"peak", stats.peak(c)},
                        {"peakDbfs", level(stats.peak(c))},
                        {"rmsDbfs", level(stats.rms(c))}});
    }
    return list;
}

}  // namespace

nlohmann::ordered_json runReportJson(const RunReport& report) {
    const double audioSeconds = static_cast<double>(report.output.frames()) / report.sampleRate;
    nlohmann::ordered_json json = {
        {"sampleRate", report.sampleRate},
        {"frames", report.output.frames()},
        {"audioSeconds", audioSeconds},
        {"input", channels(report.input)},
        {"output", channels(report.output)},
        {"wallSeconds", report.seconds},
        {"pluginSeconds", report.pluginSeconds},
        {"realtimeFactor", report.seconds > 0 ? audioSeconds / report.seconds : 0.0},
        {"integerOutput", report.integerOutput},
        // Only integer sample formats clip; float output keeps every over.
        {"clippedSamples", report.clipped},
        // Set when --rate converted the audio for the plug-ins and back.
        {"processingRate", report.processingRate > 0 ? nlohmann::ordered_json(report.processingRate)
                                                     : nlohmann::ordered_json(nullptr)},
        {"latencyFrames", report.latency},
        {"latencyCompensated", report.latencyCompensated},
        {"tailFrames", report.tailFrames},
        {"tailFrom", report.tailSource == TailSource::Option   ? "option"
                     : report.tailSource == TailSource::Plugin ? "plugin"
                                                               : "detected"},
    };
    if (!report.title.empty()) json["title"] = report.title;
    return json;
}

}  // namespace tovrel
