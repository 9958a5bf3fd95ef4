// The commands of tovrel. Each registers its options, then runs when chosen; errors
// leave as HostError for main to print.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/audio_reader.h"
#include "host/automation.h"
#include "host/file_render.h"
#include "options.h"

namespace tovrel {

struct DemoCommand {
    CLI::App* app = nullptr;
    std::string output = "demo.wav";
    SoundOptions sound;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
    void drawPicture(const GlobalOptions& global, const std::vector<std::string>& strong,
                     const std::string& path) const;
};

struct RenderCommand {
    CLI::App* app = nullptr;
    std::vector<std::string> files;
    std::string input;  // of a single render
    std::string output;
    std::string outDir;  // a batch when given
    int jobs = 0;        // 0: one per core
    std::string suffix;
    std::string format;
    SoundOptions sound;
    std::string tail = "0";  // seconds, or auto
    bool compensateLatency = true;
    double rate = 0.0;                  // 0: the input's
    std::vector<std::string> presetIn;  // each FILE or N:FILE
    std::string presetOut;
    std::string automate;
    int automationStep = 32;
    bool json = false;

    void add(CLI::App& parent);
    int run(const GlobalOptions& global);  // the exit status

  private:
    // One file's render set up as the options say: fresh plug-in instances with the presets
    // and settings applied, and the automation read at the file's rate.
    struct Prepared {
        Prepared(const RenderCommand& command, const GlobalOptions& global, AudioReader& reader,
                 const std::string& output);
        Prepared(const Prepared&) = delete;
        Prepared& operator=(const Prepared&) = delete;
        std::vector<std::unique_ptr<Plugin>> plugins;  // every --plugin, in order
        std::vector<Plugin*> chain;
        std::optional<Automation> automation;
        FileRenderSettings settings;  // points at automation
    };
    int runBatch(const GlobalOptions& global);
};

struct InfoCommand {
    CLI::App* app = nullptr;
    bool json = false;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

// Measures the plug-in and draws what it does: response, transfer curve, harmonics.
struct PlotCommand {
    CLI::App* app = nullptr;
    std::vector<std::string> settings;
    std::vector<std::string> compares;  // each 'NAME=V,...', on top of the --set values
    bool allowOutOfRange = false;
    int sampleRate = 44100;
    std::string precision = "float";
    int blockSize = 512;
    std::string what = "response,transfer,harmonics";
    double level = -6.0;           // of the harmonics sine, dBFS
    double responseLevel = -40.0;  // of the impulse, dBFS
    std::string output;            // .png or .svg
    std::string csv;
    bool json = false;
    bool summary = true;  // the measured numbers as text; the demo shows only the picture

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

struct ListCommand {
    CLI::App* app = nullptr;
    bool json = false;
    double timeoutSeconds = 10.0;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
};

struct ValidateCommand {
    CLI::App* app = nullptr;
    std::string plugin;
    int level = 5;
    unsigned seed = 1;
    double timeScale = 1.0;
    std::string jsonPath;
    std::string junitPath;
    std::vector<std::string> skip;

    void add(CLI::App& parent);
    int run();  // the exit status: 0 nothing failed, 1 something failed
};

}  // namespace tovrel
