#include <cstdio>

#include "commands.h"
#include "host/audio_reader.h"
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
nlohmann::ordered_json renderJson(const RenderCommand& command, const GlobalOptions& global,
                                  Plugin& plugin, const RunReport& report) {
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
        std::printf("%s\n", renderJson(*this, global, *plugin, report).dump(2).c_str());
        return;
    }

    std::printf("Rendered '%s' to '%s' through %s\n", input.c_str(), output.c_str(),
                effectName(*plugin).c_str());
    std::fputs(formatSummary(report).c_str(), stdout);
}

}  // namespace tovrel
