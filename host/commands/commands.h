// The commands of tovrel. Each registers its options, then runs when chosen; errors
// leave as HostError for main to print.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

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
    std::string input;
    std::string output;
    SoundOptions sound;
    double tailSeconds = 0.0;
    std::string presetIn;
    std::string presetOut;
    bool json = false;

    void add(CLI::App& parent);
    void run(const GlobalOptions& global);
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

}  // namespace tovrel
