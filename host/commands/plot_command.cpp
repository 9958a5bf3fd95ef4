#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "commands.h"
#include "host/file_bytes.h"
#include "host/host_error.h"
#include "host/json/measurement_json.h"
#include "host/measurement/measurement_csv.h"
#include "host/parameter_lookup.h"
#include "host/plot/figure_file.h"
#include "host/plot/measurement_figure.h"
#include "host/plugin_text.h"

namespace tovrel {
namespace {

using measurement::SettingMeasurements;

// Above this many parameters the subtitle names only the ones set.
constexpr VstInt32 kParametersListed = 8;

struct Setting {
    std::string label;
    std::vector<std::string> assignments;
};

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

measurement::MeasureOptions measureOptions(const PlotCommand& command) {
    measurement::MeasureOptions options;
    options.probe = {command.sampleRate,
                     command.precision == "double" ? Precision::Double : Precision::Single,
                     command.blockSize};
    options.response = options.transfer = options.harmonics = false;
    for (const std::string& item : splitList(command.what)) {
        if (item == "response") {
            options.response = true;
        } else if (item == "transfer") {
            options.transfer = true;
        } else if (item == "harmonics") {
            options.harmonics = true;
        } else {
            throw HostError("unknown measurement '" + item +
                            "' in --what: choose from response, transfer, harmonics");
        }
    }
    if (!options.response && !options.transfer && !options.harmonics) {
        throw HostError("--what names no measurement");
    }
    options.responseOptions.levelDb = command.responseLevel;
    options.harmonicsOptions.levelDb = command.level;
    return options;
}

std::string parameterValues(Plugin& plugin, const std::vector<std::string>& set) {
    if (plugin.record().numParams > kParametersListed) return joined(set, " ");
    std::string text;
    for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "=%g", static_cast<double>(plugin.parameter(i)));
        text += (text.empty() ? "" : " ") + parameterName(plugin, i) + value;
    }
    return text;
}

const measurement::ResponsePoint& pointNear(const measurement::ChannelResponse& channel,
                                            double frequency) {
    const measurement::ResponsePoint* best = &channel.points.front();
    for (const measurement::ResponsePoint& point : channel.points) {
        if (std::fabs(std::log(point.frequency / frequency)) <
            std::fabs(std::log(best->frequency / frequency))) {
            best = &point;
        }
    }
    return *best;
}

void printResponse(const measurement::FrequencyResponse& response) {
    for (std::size_t c = 0; c < response.channels.size(); ++c) {
        if (c > 0 && !response.channelsDiffer) break;
        const auto& channel = response.channels[c];
        std::printf(
            "  response ch %zu: %g dBFS impulse, %zu frames; 100 Hz %.2f dB, 1 kHz %.2f "
            "dB, 10 kHz %.2f dB; ",
            c + 1, response.levelDb, response.frames, pointNear(channel, 100).magnitudeDb,
            pointNear(channel, 1000).magnitudeDb, pointNear(channel, 10000).magnitudeDb);
        const double corner = measurement::upperCorner(channel);
        if (corner > 0) {
            std::printf("-3 dB corner %.0f Hz\n", corner);
        } else {
            std::printf("no -3 dB corner above 1 kHz\n");
        }
    }
}

void printTransfer(const std::vector<measurement::TransferPoint>& points) {
    std::printf("  transfer:");
    for (const measurement::TransferPoint& point : points) {
        const double in = point.inputDb;
        if (in == -40 || in == -20 || in == -6 || in == 0 || in == 6) {
            std::printf(" %+g dBFS in %.2f out;", in, point.outputDb);
        }
    }
    std::printf("\n");
}

// A channel is listed only when it reads differently from the one before it.
void printHarmonics(const measurement::Harmonics& harmonics) {
    std::string previous;
    for (std::size_t c = 0; c < harmonics.channels.size(); ++c) {
        const auto& channel = harmonics.channels[c];
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "THD %.4g%% (%.2f dB); ", channel.thdPercent,
                      channel.thdDb);
        const std::string text = numbers + plot::harmonicsText(channel, 2, 10);
        if (text == previous) continue;
        std::printf("  harmonics ch %zu: 1 kHz at %g dBFS, %s (dB re H1)\n", c + 1,
                    harmonics.levelDb, text.c_str());
        previous = text;
    }
}

void printSummary(const SettingMeasurements& setting) {
    std::printf("%s\n", setting.label.c_str());
    if (setting.response) printResponse(*setting.response);
    if (setting.transfer) printTransfer(*setting.transfer);
    if (setting.harmonics) printHarmonics(*setting.harmonics);
}

}  // namespace

void PlotCommand::add(CLI::App& parent) {
    app = parent.add_subcommand(
        "plot", "measure the plug-in and draw its response, transfer curve and harmonics");
    app->add_option("--set", settings, "NAME=VALUE or INDEX=VALUE, normalised 0 to 1 (repeatable)")
        ->allow_extra_args(false);
    app->add_option("--compare", compares,
                    "'NAME=V,...': a further setting overlaid in its own colour (repeatable)")
        ->allow_extra_args(false);
    app->add_flag("--allow-out-of-range", allowOutOfRange, "accept values outside 0 to 1");
    app->add_option("--rate", sampleRate, "sample rate in Hz (default 44100)")
        ->check(CLI::Range(8000, 384000));
    app->add_option("--precision", precision, "float or double (default float)")
        ->check(CLI::IsMember({"float", "double"}));
    app->add_option("--block", blockSize, "block size in frames (default 512)")
        ->check(CLI::Range(1, 1 << 16));
    app->add_option("--what", what, "any of response,transfer,harmonics (default all three)");
    app->add_option("--level", level, "level of the harmonics sine in dBFS (default -6)")
        ->check(CLI::Range(-120.0, 12.0));
    app->add_option("--response-level", responseLevel,
                    "level of the response impulse in dBFS (default -40)")
        ->check(CLI::Range(-120.0, 12.0));
    app->add_option("-o,--output", output, "picture to write, .png or .svg (default plot.png)");
    app->add_option("--csv", csv, "also write the measured numbers as CSV");
    app->add_flag("--json", json, "print the measured numbers as one JSON document");
}

void PlotCommand::run(const GlobalOptions& global) {
    const measurement::MeasureOptions options = measureOptions(*this);
    if (output.empty() && csv.empty() && !json) output = "plot.png";
    if (!output.empty()) plot::imageFormatOf(output);  // refuse a bad name before any work

    std::vector<Setting> plan = {
        {settings.empty() ? "defaults" : joined(settings, ", "), settings}};
    for (const std::string& compare : compares) {
        const std::vector<std::string> extra = splitList(compare);
        if (extra.empty()) throw HostError("--compare '" + compare + "' sets nothing");
        std::vector<std::string> all = settings;
        all.insert(all.end(), extra.begin(), extra.end());
        plan.push_back({joined(extra, ", "), all});
    }
    auto instance = [&global, this](const std::vector<std::string>& assignments) {
        // The same noise on every run, so the same picture, also from plug-ins that draw their
        // seeds from rand() and ignore --noise-seeds.
        std::srand(1);
        auto plugin = loadPlugin(global);
        applySettings(*plugin, assignments, allowOutOfRange);
        return plugin;
    };
    // Every setting is checked on one instance before anything is measured.
    auto probe = instance(settings);
    requirePrecision(*probe, options.probe.precision);
    if (probe->record().numInputs < 1) throw HostError("the plug-in has no audio inputs");
    for (const Setting& setting : plan) applySettings(*probe, setting.assignments, allowOutOfRange);
    probe = instance(settings);
    const std::string effect = effectName(*probe).empty() ? probe->name() : effectName(*probe);

    std::vector<SettingMeasurements> measured;
    for (const Setting& setting : plan) {
        measured.push_back(measurement::measureSetting(
            setting.label, [&] { return instance(setting.assignments); }, options));
    }

    std::vector<std::string> labels;
    for (std::size_t i = 1; i < plan.size(); ++i) labels.push_back(plan[i].label);
    std::string title = effect + ": " + plan.front().label;
    if (!labels.empty()) title += " against " + joined(labels, "; ");
    const std::string subtitle = parameterValues(*probe, settings) + "   |   " +
                                 std::to_string(sampleRate) + " Hz, " + precision + " precision";
    if (!output.empty()) {
        plot::writeFigure(plot::measurementFigure(title, subtitle, measured, sampleRate), output);
    }
    if (!csv.empty()) {
        const std::string text = measurement::measurementCsv(measured);
        writeFileBytes(csv, {text.begin(), text.end()});
    }
    if (json) {
        nlohmann::ordered_json document = {
            {"plugin", {{"path", probe->name()}, {"effect", effect}}},
            {"sampleRate", sampleRate},
            {"precision", precision},
            {"blockSize", blockSize},
            {"noiseSeeds", {noiseSeedsOf(global).left, noiseSeedsOf(global).right}},
            {"image", output.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(output)},
            {"csv", csv.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(csv)},
            {"settings", nlohmann::ordered_json::array()}};
        for (std::size_t i = 0; i < measured.size(); ++i) {
            nlohmann::ordered_json entry = {{"label", plan[i].label},
                                            {"assignments", plan[i].assignments}};
            entry.update(settingJson(measured[i]));
            document["settings"].push_back(entry);
        }
        std::printf("%s\n", document.dump(2).c_str());
        return;
    }
    if (summary) {
        std::printf("Measured %s at %d Hz in %s precision\n", effect.c_str(), sampleRate,
                    precision.c_str());
        for (const SettingMeasurements& setting : measured) printSummary(setting);
    }
    if (!output.empty()) std::printf("Wrote '%s'\n", output.c_str());
    if (!csv.empty()) std::printf("Wrote '%s'\n", csv.c_str());
}

}  // namespace tovrel
