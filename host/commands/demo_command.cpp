#include <sndfile.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "commands.h"
#include "host/audio_writer.h"
#include "host/buffer_render.h"
#include "host/demo_signal.h"
#include "host/host_error.h"
#include "host/output_format.h"
#include "host/parameter_lookup.h"
#include "host/plugin_text.h"
#include "host/run_summary.h"
#include "interrupt.h"

namespace tovrel {
namespace {

// The stronger setting for Tovrel: more drive into both saturated bands, with the output gain
// pulled back so the peaks stay where the defaults put them, below full scale.
const std::vector<std::string> kStrongSettings = {"Hi=0.8", "Lo=0.8", "Gain=0.8"};

bool hasParameters(Plugin& plugin, const std::vector<std::string>& settings) {
    try {
        for (const std::string& text : settings) parseAssignment(plugin, text, false);
        return true;
    } catch (const HostError&) {
        return false;
    }
}

struct Pass {
    std::vector<float> audio;
    RunReport report;
};

template <typename T>
Pass renderPass(Plugin& plugin, const std::vector<float>& signal, int blockSize) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<T> input(signal.begin(), signal.end());
    BufferRender<T> rendered =
        renderBuffer(plugin, input, kDemoChannels, kDemoSampleRate, blockSize);
    Pass pass;
    pass.audio.assign(rendered.audio.begin(), rendered.audio.end());
    const int frames = static_cast<int>(signal.size() / kDemoChannels);
    pass.report.sampleRate = kDemoSampleRate;
    pass.report.input = SignalStats(kDemoChannels);
    pass.report.input.add(signal.data(), frames);
    pass.report.output = SignalStats(rendered.channels);
    pass.report.output.add(rendered.audio.data(), frames);
    pass.report.pluginSeconds = rendered.pluginSeconds;
    pass.report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return pass;
}

Pass renderWith(const GlobalOptions& global, const SoundOptions& sound,
                const std::vector<std::string>& settings, const std::vector<float>& signal) {
    auto plugin = loadPlugin(global);  // a fresh instance: no state carried between passes
    applySettings(*plugin, settings, sound.allowOutOfRange);
    if (precisionOf(sound) == Precision::Double) {
        return renderPass<double>(*plugin, signal, sound.blockSize);
    }
    return renderPass<float>(*plugin, signal, sound.blockSize);
}

std::string besideOutput(const std::string& output, const std::string& name) {
    const std::size_t slash = output.rfind('/');
    return slash == std::string::npos ? name : output.substr(0, slash + 1) + name;
}

}  // namespace

// What the two halves do to sound, measured and drawn: the defaults against the stronger
// setting.
void DemoCommand::drawPicture(const GlobalOptions& global, const std::vector<std::string>& strong,
                              const std::string& path) const {
    PlotCommand picture;
    if (!strong.empty()) picture.compares = {CLI::detail::join(strong, ",")};
    picture.allowOutOfRange = sound.allowOutOfRange;
    picture.precision = sound.precision;
    picture.blockSize = sound.blockSize;
    picture.output = path;
    picture.summary = false;
    picture.run(global);
}

void DemoCommand::add(CLI::App& parent) {
    app = parent.add_subcommand(
        "demo", "render the built-in demo signal at the defaults, then at a stronger setting");
    app->add_option("output", output, "audio file to write (default demo.wav)");
    addSoundOptions(*app, sound);
}

void DemoCommand::run(const GlobalOptions& global) {
    const std::vector<float> signal = makeDemoSignal();
    auto probe = loadPlugin(global);  // only asked about its shape and parameters
    requirePrecision(*probe, precisionOf(sound));
    if (probe->record().numInputs < kDemoChannels) {
        throw HostError("the demo is stereo but the plug-in takes " +
                        std::to_string(probe->record().numInputs) + " inputs");
    }
    std::vector<std::string> strong = sound.settings;
    if (strong.empty() && hasParameters(*probe, kStrongSettings)) strong = kStrongSettings;
    const int outputs = probe->record().numOutputs;
    const SampleBits bits = sound.bits.empty() ? SampleBits::Float32 : parseSampleBits(sound.bits);
    const int format =
        chooseOutputFormat(output, SF_FORMAT_WAV | SF_FORMAT_FLOAT, bits, outputs, kDemoSampleRate);
    catchInterrupts();
    AudioWriter writer(output, outputs, kDemoSampleRate, format);  // fails before any work

    std::printf("Demo through %s: %.1f s of music-like material, rendered twice\n",
                effectName(*probe).c_str(), signal.size() / 2.0 / kDemoSampleRate);
    Pass defaults = renderWith(global, sound, {}, signal);
    defaults.report.title = "First half, at the defaults";
    writer.write(defaults.audio.data(), static_cast<int>(defaults.audio.size() / outputs));
    std::fputs(formatSummary(defaults.report).c_str(), stdout);
    if (strong.empty()) {
        std::printf("No stronger setting known for this plug-in; pass --set to choose one.\n");
    } else {
        Pass stronger = renderWith(global, sound, strong, signal);
        stronger.report.title = "Second half, stronger (" + CLI::detail::join(strong, ", ") + ")";
        writer.write(stronger.audio.data(), static_cast<int>(stronger.audio.size() / outputs));
        std::fputs(formatSummary(stronger.report).c_str(), stdout);
    }
    if (interrupted()) throw HostError("interrupted");
    writer.commit();
    std::printf("Wrote '%s' (%s", output.c_str(), describeFormat(format).c_str());
    if (writer.integerOutput())
        std::printf(", %llu samples clipped", static_cast<unsigned long long>(writer.clipped()));
    std::printf(")\n");
    drawPicture(global, strong, besideOutput(output, "demo-response.png"));
}

}  // namespace tovrel
