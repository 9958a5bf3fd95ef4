#include "run_summary.h"

#include <cmath>
#include <cstdio>

namespace tovrel {
namespace {

std::string decibels(double level) {
    const double db = toDbfs(level);
    if (std::isinf(db)) return "     -inf";
    char text[32];
    std::snprintf(text, sizeof text, "%9.2f", db);
    return text;
}

std::string levelRows(const char* side, const SignalStats& stats) {
    std::string rows;
    for (int c = 0; c < stats.channels(); ++c) {
        char label[32];
        std::snprintf(label, sizeof label, "  %-6s ch %-3d", side, c + 1);
        rows += label + decibels(stats.peak(c)) + "  " + decibels(stats.rms(c)) + "\n";
    }
    return rows;
}

}  // namespace

std::string formatSummary(const RunReport& report) {
    std::string text = report.title.empty() ? "" : report.title + ":\n";
    text += "                 peak dBFS   RMS dBFS\n";
    text += levelRows("input", report.input) + levelRows("output", report.output);
    const double audioSeconds = static_cast<double>(report.output.frames()) / report.sampleRate;
    char line[160];
    std::snprintf(line, sizeof line,
                  "  %.2f s of audio in %.3f s (plug-in %.3f s, host %.3f s), %.1fx realtime\n",
                  audioSeconds, report.seconds, report.pluginSeconds,
                  report.seconds - report.pluginSeconds,
                  report.seconds > 0 ? audioSeconds / report.seconds : 0.0);
    text += line;
    if (report.processingRate > 0) {
        std::snprintf(line, sizeof line,
                      "  processed at %g Hz: converted there and back with libsamplerate\n",
                      report.processingRate);
        text += line;
    }
    if (report.latency > 0) {
        text += "  latency " + std::to_string(report.latency) + " frames, " +
                (report.latencyCompensated ? "compensated" : "not compensated") + "\n";
    }
    if (report.tailSource != TailSource::Option) {
        std::snprintf(line, sizeof line, "  tail %.3f s, %s\n",
                      static_cast<double>(report.tailFrames) / report.sampleRate,
                      report.tailSource == TailSource::Plugin ? "as the plug-in reports"
                                                              : "until the output fell silent");
        text += line;
    }
    if (report.integerOutput) {
        text += "  " + std::to_string(report.clipped) + " samples clipped\n";
    }
    return text;
}

}  // namespace tovrel
