#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "commands.h"
#include "host/audio_reader.h"
#include "host/automation_file.h"
#include "host/batch_progress.h"
#include "host/batch_render.h"
#include "host/chain_parameter.h"
#include "host/chain_renderer.h"
#include "host/file_render.h"
#include "host/fx_preset.h"
#include "host/host_error.h"
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
nlohmann::ordered_json automationJson(const RenderCommand& command,
                                      const std::vector<Plugin*>& chain,
                                      const Automation* automation) {
    if (automation == nullptr) return nullptr;
    nlohmann::ordered_json moving = nlohmann::ordered_json::array();
    for (const AutomationLane& lane : automation->lanes()) {
        moving.push_back({{"plugin", lane.member() + 1},
                          {"index", lane.parameter()},
                          {"name", parameterName(*chain[lane.member()], lane.parameter())},
                          {"points", lane.points().size()}});
    }
    return {{"file", command.automate}, {"step", automation->step()}, {"parameters", moving}};
}

nlohmann::ordered_json parametersJson(Plugin& plugin) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
    for (VstInt32 i = 0; i < plugin.record().numParams; ++i) {
        parameters.push_back({{"index", i},
                              {"name", parameterName(plugin, i)},
                              {"value", plugin.parameter(i)},
                              {"display", parameterDisplay(plugin, i)}});
    }
    return parameters;
}

// Each member in order, with how its inputs were fed and its parameters' final values.
nlohmann::ordered_json chainJson(const std::vector<Plugin*>& chain, int fileChannels) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    int channels = fileChannels;
    for (Plugin* plugin : chain) {
        const std::string match = channelMatch(channels, plugin->record().numInputs);
        list.push_back({{"plugin", plugin->name()},
                        {"effect", effectName(*plugin)},
                        {"inputs", plugin->record().numInputs},
                        {"outputs", plugin->record().numOutputs},
                        {"channelMatch",
                         match.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(match)},
                        {"parameters", parametersJson(*plugin)}});
        channels = plugin->record().numOutputs;
    }
    return list;
}

// The number asked for, or "auto" (the summary gives the tail rendered).
nlohmann::ordered_json tailSecondsJson(const std::string& tail) {
    if (tail == "auto") return tail;
    return std::stod(tail);
}

nlohmann::ordered_json presetsJson(const std::vector<std::string>& presets) {
    if (presets.empty()) return nullptr;
    if (presets.size() == 1) return presets[0];
    return presets;
}

nlohmann::ordered_json renderJson(const RenderCommand& command, const GlobalOptions& global,
                                  const std::vector<Plugin*>& chain, int fileChannels,
                                  const RunReport& report, const Automation* automation) {
    Plugin& plugin = *chain[0];
    const nlohmann::ordered_json parameters = parametersJson(plugin);
    return {{"input", command.input},
            {"output", command.output},
            {"plugin", plugin.name()},
            {"effect", effectName(plugin)},
            {"set", command.sound.settings},
            {"preset", presetsJson(command.presetIn)},
            {"parameters", parameters},
            {"chain", chainJson(chain, fileChannels)},
            {"precision", command.sound.precision},
            {"blockSize", command.sound.blockSize},
            {"tailSeconds", tailSecondsJson(command.tail)},
            {"automation", automationJson(command, chain, automation)},
            {"noiseSeeds", {noiseSeedsOf(global).left, noiseSeedsOf(global).right}},
            {"summary", runReportJson(report)}};
}

// One line per file: where it went and how it sounded, or why it failed.
std::string batchLine(const BatchFile& file, const BatchResult& result) {
    if (!result.ok) return file.input + ": failed: " + result.error;
    const RunReport& report = result.report;
    double peak = 0.0;
    for (int c = 0; c < report.output.channels(); ++c) peak = std::max(peak, report.output.peak(c));
    const double audioSeconds = static_cast<double>(report.output.frames()) / report.sampleRate;
    char line[128];
    std::snprintf(line, sizeof line, ": %.2f s, output peak %.2f dBFS, %.1fx realtime",
                  audioSeconds, toDbfs(peak),
                  report.seconds > 0 ? audioSeconds / report.seconds : 0.0);
    return file.input + " -> " + file.output + line;
}

nlohmann::ordered_json batchJson(const RenderCommand& command, const GlobalOptions& global,
                                 const std::vector<BatchFile>& batch,
                                 const std::vector<BatchResult>& results, int workers,
                                 double seconds) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < batch.size(); ++i) {
        nlohmann::ordered_json entry = {
            {"input", batch[i].input}, {"output", batch[i].output}, {"ok", results[i].ok}};
        if (results[i].ok) {
            entry["summary"] = runReportJson(results[i].report);
        } else {
            entry["error"] = results[i].error;
        }
        list.push_back(entry);
    }
    return {{"set", command.sound.settings},
            {"preset", presetsJson(command.presetIn)},
            {"automation", command.automate.empty() ? nlohmann::ordered_json()
                                                    : nlohmann::ordered_json(command.automate)},
            {"precision", command.sound.precision},
            {"blockSize", command.sound.blockSize},
            {"tailSeconds", tailSecondsJson(command.tail)},
            {"noiseSeeds", {noiseSeedsOf(global).left, noiseSeedsOf(global).right}},
            {"jobs", workers},
            {"wallSeconds", seconds},
            {"files", list}};
}

}  // namespace

void RenderCommand::add(CLI::App& parent) {
    app = parent.add_subcommand("render", "render audio files through the plug-in");
    app->add_option("files", files,
                    "IN OUT: the audio file to read (any format libsndfile reads) and the one to "
                    "write, whose extension picks the format; or IN... with --out-dir")
        ->required();
    app->add_option("--out-dir", outDir, "render every file given into this folder");
    app->add_option("--jobs", jobs, "files rendered at once with --out-dir (default: the cores)")
        ->check(CLI::Range(1, 1024));
    app->add_option("--suffix", suffix, "added to each name with --out-dir, e.g. _tovrel");
    app->add_option("--format", format,
                    "extension picking the format with --out-dir (default: each input's own)");
    addSoundOptions(*app, sound);
    app->add_option("--tail", tail,
                    "seconds of silence appended to let filters ring out, or auto: the "
                    "plug-in's own tail size, else until the output stays under -120 dBFS for "
                    "100 ms (at most 30 s)")
        ->check(CLI::IsMember({"auto"}) | CLI::Range(0.0, 3600.0));
    app->add_option("--rate", rate,
                    "run the plug-ins at this sample rate: the input is converted to it and the "
                    "output back (libsamplerate)")
        ->check(CLI::Range(1000.0, 1536000.0));
    app->add_flag("--compensate-latency,!--no-compensate-latency", compensateLatency,
                  "drop the plug-ins' reported latency from the start and flush it at the end, "
                  "so the output lines up with the input (default)");
    app->add_option("--preset", presetIn,
                    "program (.fxp) or bank (.fxb) file to load first; N:FILE for the chain's "
                    "plug-in N (repeatable)")
        ->allow_extra_args(false);
    app->add_option("--save-preset", presetOut,
                    "save the settings used as .fxp (or .fxb); N:FILE for plug-in N")
        ->allow_extra_args(false);
    app->add_option("--automate", automate,
                    "CSV or JSON file of points (seconds or frame, parameter, value, shape) "
                    "that move parameters during the render");
    app->add_option("--automation-step", automationStep,
                    "longest run of frames between automation updates (default 32)")
        ->check(CLI::Range(1, 1 << 20));
    app->add_flag("--json", json, "print the summary as one JSON document");
}

RenderCommand::Prepared::Prepared(const RenderCommand& command, const GlobalOptions& global,
                                  AudioReader& reader, const std::string& output)
    : plugins(loadChain(global)) {
    for (const auto& plugin : plugins) chain.push_back(plugin.get());
    for (const std::string& text : command.presetIn) {
        const ChainKey preset = splitChainKey(chain, text);
        applyPreset(*chain[preset.member], readPresetFile(preset.rest), preset.rest);
    }
    applySettings(chain, command.sound.settings, command.sound.allowOutOfRange);
    settings.output = output;
    settings.blockSize = command.sound.blockSize;
    settings.precision = precisionOf(command.sound);
    settings.bits =
        command.sound.bits.empty() ? SampleBits::FollowInput : parseSampleBits(command.sound.bits);
    settings.autoTail = command.tail == "auto";
    settings.tailSeconds = settings.autoTail ? 0.0 : std::stod(command.tail);
    settings.compensateLatency = command.compensateLatency;
    settings.rate = command.rate;
    if (!command.automate.empty()) {
        automation =
            readAutomationFile(command.automate, chain,
                               {command.rate > 0 ? command.rate : double(reader.sampleRate()),
                                command.automationStep, command.sound.allowOutOfRange});
        settings.automation = &*automation;
    }
}

int RenderCommand::run(const GlobalOptions& global) {
    catchInterrupts();
    if (!outDir.empty()) return runBatch(global);
    if (files.size() != 2) {
        throw HostError("render takes IN OUT, or IN... --out-dir DIR (" +
                        std::to_string(files.size()) + " files given)");
    }
    input = files[0];
    output = files[1];
    AudioReader reader(input);
    Prepared prepared(*this, global, reader, output);
    const std::vector<Plugin*>& chain = prepared.chain;
    const FileRenderSettings& settings = prepared.settings;

    RunReport report;
    {
        ProgressBar bar(stderr, !global.quiet && stderrIsTerminal());
        RenderHooks hooks;
        hooks.progress = [&bar](std::uint64_t done, std::uint64_t total) {
            bar.update(done, total);
        };
        hooks.cancelled = [] { return interrupted(); };
        report = renderFile(chain, reader, settings, hooks);
    }
    if (!presetOut.empty()) {
        const ChainKey preset = splitChainKey(chain, presetOut);
        savePreset(*chain[preset.member], preset.rest);
    }
    if (json) {
        std::printf("%s\n",
                    renderJson(*this, global, chain, reader.channels(), report, settings.automation)
                        .dump(2)
                        .c_str());
        return 0;
    }

    std::string through;
    for (Plugin* plugin : chain) through += (through.empty() ? "" : " -> ") + effectName(*plugin);
    std::printf("Rendered '%s' to '%s' through %s\n", input.c_str(), output.c_str(),
                through.c_str());
    int channels = reader.channels();
    for (std::size_t m = 0; m < chain.size(); ++m) {
        const std::string match = channelMatch(channels, chain[m]->record().numInputs);
        if (!match.empty()) {
            std::printf("Into plug-in %zu (%s): %s\n", m + 1, effectName(*chain[m]).c_str(),
                        match.c_str());
        }
        channels = chain[m]->record().numOutputs;
    }
    if (settings.automation != nullptr) {
        std::string moving;
        for (const AutomationLane& lane : settings.automation->lanes()) {
            moving += (moving.empty() ? "" : ", ") +
                      (chain.size() > 1 ? std::to_string(lane.member() + 1) + ":" : "") +
                      parameterName(*chain[lane.member()], lane.parameter());
        }
        std::printf("Automated %s from '%s', updated at least every %d frames\n", moving.c_str(),
                    automate.c_str(), automationStep);
    }
    std::fputs(formatSummary(report).c_str(), stdout);
    return 0;
}

int RenderCommand::runBatch(const GlobalOptions& global) {
    if (!presetOut.empty()) throw HostError("--save-preset needs a single render, not --out-dir");
    std::filesystem::create_directories(outDir);
    const std::vector<BatchFile> batch = batchOutputs(files, outDir, suffix, format);
    const int workers =
        jobs > 0 ? jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const auto start = std::chrono::steady_clock::now();
    std::vector<BatchResult> results;
    {
        BatchProgressLine line(stderr, !global.quiet && stderrIsTerminal(),
                               static_cast<int>(batch.size()));
        BatchHooks hooks;
        hooks.progress = [&line](const std::vector<WorkerStatus>& status, int finished) {
            line.update(status, finished);
        };
        hooks.cancelled = [] { return interrupted(); };
        // Each file from loading the plug-in on, exactly as a single render makes it.
        const RenderOne renderOne = [&](const BatchFile& file, const RenderHooks& fileHooks) {
            AudioReader reader(file.input);
            Prepared prepared(*this, global, reader, file.output);
            return renderFile(prepared.chain, reader, prepared.settings, fileHooks);
        };
        results = renderBatch(batch, workers, renderOne, hooks);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int failed = 0;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (!results[i].ok) {
            ++failed;
            std::fprintf(stderr, "tovrel: error: %s: %s\n", batch[i].input.c_str(),
                         results[i].error.c_str());
        }
    }
    if (json) {
        std::printf("%s\n",
                    batchJson(*this, global, batch, results, workers, seconds).dump(2).c_str());
    } else {
        for (std::size_t i = 0; i < batch.size(); ++i) {
            std::printf("%s\n", batchLine(batch[i], results[i]).c_str());
        }
        std::printf("Rendered %zu of %zu files with %d jobs in %.3f s\n", batch.size() - failed,
                    batch.size(), workers, seconds);
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace tovrel
