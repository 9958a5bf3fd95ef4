#include <cstdio>
#include <optional>

#include "commands.h"
#include "host/audio_reader.h"
#include "host/automation_file.h"
#include "host/file_render.h"
#include "host/fx_preset.h"
#include "host/json/run_report_json.h"
#include "host/plugin_text.h"
#include "host/preset_transfer.h"
#include "host/progress_bar.h"
#include "interrupt.h"

namespace tovrel {
namespace {

bool endsWithBank(const std::string& path) {
    const std::string suffix = ".fxb";
    if (path.size() < suffix.size()) return false;
    std::string tail = path.substr(path.size() - suffix.size());
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == suffix;
}

void savePreset(Plugin& plugin, const std::string& path) {
    const Bytes bytes = endsWithBank(path) ? serializeBank(captureBank(plugin))
                                           : serializeProgram(captureProgram(plugin));
    writePresetFile(path, bytes);
}

// Whatever was used: every parameter's final value, the run's shape and the noise seed.
nlohmann::ordered_json automationJson(const RenderCommand& command, Plugin& plugin,
                                      const Automation* automation) {
    if (automation == nullptr) return nullptr;
    nlohmann::ordered_json moving = nlohmann::ordered_json::array();
    for (const AutomationLane& lane : automation->lanes()) {
        moving.push_back({{"index", lane.parameter()},
                          {"name", parameterName(plugin, lane.parameter())},
                          {"points", lane.points().size()}});
    }
    return {{"file", command.automate}, {"step", automation->step()}, {"parameters", moving}};
}

nlohmann::ordered_json renderJson(const RenderCommand& command, const GlobalOptions& global,
                                  Plugin& plugin, const RunReport& report,
                                  const Automation* automation) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
    for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
        parameters.push_back({{"index", i},
                              {"name", parameterName(plugin, i)},
                              {"value", plugin.parameter(i)},
                              {"display", parameterDisplay(plugin, i)}});
    }
    return {{"input", command.input},
            {"output", command.output},
            {"plugin", plugin.name()},
            {"effect", effectName(plugin)},
            {"set", command.sound.settings},
            {"preset", command.presetIn.empty() ? nlohmann::ordered_json()
                                                : nlohmann::ordered_json(command.presetIn)},
            {"parameters", parameters},
            {"precision", command.sound.precision},
            {"blockSize", command.sound.blockSize},
            {"tailSeconds", command.tailSeconds},
            {"automation", automationJson(command, plugin, automation)},
            {"noiseSeeds", {noiseSeedsOf(global).left, noiseSeedsOf(global).right}},
            {"summary", runReportJson(report)}};
}

}  // namespace

void RenderCommand::add(CLI::App& parent) {
    app = parent.add_subcommand("render", "render an audio file through the plug-in");
    app->add_option("input", input, "audio file to read (any format libsndfile reads)")->required();
    app->add_option("output", output, "audio file to write; its extension picks the format")
        ->required();
    addSoundOptions(*app, sound);
    app->add_option("--tail", tailSeconds, "seconds of silence appended to let filters ring out")
        ->check(CLI::Range(0.0, 3600.0));
    app->add_option("--preset", presetIn, "program (.fxp) or bank (.fxb) file to load first");
    app->add_option("--save-preset", presetOut, "save the settings used as .fxp (or .fxb)");
    app->add_option("--automate", automate,
                    "CSV or JSON file of points (seconds or frame, parameter, value, shape) "
                    "that move parameters during the render");
    app->add_option("--automation-step", automationStep,
                    "longest run of frames between automation updates (default 32)")
        ->check(CLI::Range(1, 1 << 20));
    app->add_flag("--json", json, "print the summary as one JSON document");
}

void RenderCommand::run(const GlobalOptions& global) {
    AudioReader reader(input);
    auto plugin = loadPlugin(global);
    if (!presetIn.empty()) applyPreset(*plugin, readPresetFile(presetIn), presetIn);
    applySettings(*plugin, sound.settings, sound.allowOutOfRange);

    FileRenderSettings settings;
    settings.output = output;
    settings.blockSize = sound.blockSize;
    settings.precision = precisionOf(sound);
    settings.bits = sound.bits.empty() ? SampleBits::FollowInput : parseSampleBits(sound.bits);
    settings.tailSeconds = tailSeconds;
    std::optional<Automation> automation;
    if (!automate.empty()) {
        automation = readAutomationFile(
            automate, *plugin,
            {double(reader.sampleRate()), automationStep, sound.allowOutOfRange});
        settings.automation = &*automation;
    }

    catchInterrupts();
    RunReport report;
    {
        ProgressBar bar(stderr, !global.quiet && stderrIsTerminal());
        RenderHooks hooks;
        hooks.progress = [&bar](std::uint64_t done, std::uint64_t total) {
            bar.update(done, total);
        };
        hooks.cancelled = [] { return interrupted(); };
        report = renderFile(*plugin, reader, settings, hooks);
    }
    if (!presetOut.empty()) savePreset(*plugin, presetOut);
    if (json) {
        std::printf(
            "%s\n",
            renderJson(*this, global, *plugin, report, settings.automation).dump(2).c_str());
        return;
    }

    std::printf("Rendered '%s' to '%s' through %s\n", input.c_str(), output.c_str(),
                effectName(*plugin).c_str());
    if (settings.automation != nullptr) {
        std::string moving;
        for (const AutomationLane& lane : settings.automation->lanes()) {
            moving += (moving.empty() ? "" : ", ") + parameterName(*plugin, lane.parameter());
        }
        std::printf("Automated %s from '%s', updated at least every %d frames\n", moving.c_str(),
                    automate.c_str(), automationStep);
    }
    std::fputs(formatSummary(report).c_str(), stdout);
}

}  // namespace tovrel
