#include "file_render.h"

#include <chrono>
#include <cmath>
#include <vector>

#include "audio_reader.h"
#include "audio_writer.h"
#include "block_renderer.h"
#include "file_identity.h"
#include "host_error.h"

namespace tovrel {
namespace {

class Render {
  public:
    Render(Plugin& plugin, const FileRenderSettings& settings, const RenderHooks& hooks,
           AudioReader& reader)
        : plugin_(plugin), settings_(settings), hooks_(hooks), reader_(reader) {}

    template <typename T>
    RunReport run() {
        const auto start = std::chrono::steady_clock::now();
        requirePrecision(plugin_, settings_.precision);
        const int outputs = plugin_.record().numOutputs;
        AudioWriter writer(settings_.output, outputs, reader_.sampleRate(),
                           chooseOutputFormat(settings_.output, reader_.format(), settings_.bits,
                                              outputs, reader_.sampleRate()));
        RunReport report;
        report.sampleRate = reader_.sampleRate();
        report.input = SignalStats(reader_.channels());
        report.output = SignalStats(outputs);
        {
            ProcessingSession session(plugin_, reader_.sampleRate(), settings_.blockSize,
                                      settings_.precision);
            BlockRenderer<T> renderer(plugin_, reader_.channels(), settings_.blockSize);
            stream(renderer, writer, report);
            report.pluginSeconds = renderer.pluginSeconds();
        }
        writer.commit();
        report.integerOutput = writer.integerOutput();
        report.clipped = writer.clipped();
        report.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return report;
    }

  private:
    template <typename T>
    void stream(BlockRenderer<T>& renderer, AudioWriter& writer, RunReport& report) {
        const int block = settings_.blockSize;
        std::vector<T> in(static_cast<std::size_t>(block) * reader_.channels());
        std::vector<T> out(static_cast<std::size_t>(block) * renderer.outputChannels());
        const auto tail =
            static_cast<std::uint64_t>(std::llround(settings_.tailSeconds * reader_.sampleRate()));
        const std::uint64_t total = static_cast<std::uint64_t>(reader_.frames()) + tail;
        std::uint64_t done = 0;
        while (const int got = reader_.read(in.data(), block)) {
            report.input.add(in.data(), got);
            step(renderer, writer, report, in.data(), out, got);
            progress(done += static_cast<std::uint64_t>(got), total);
        }
        for (std::uint64_t left = tail; left > 0;) {
            const int count = static_cast<int>(std::min<std::uint64_t>(left, block));
            step<T>(renderer, writer, report, nullptr, out, count);
            left -= static_cast<std::uint64_t>(count);
            progress(done += static_cast<std::uint64_t>(count), total);
        }
    }

    template <typename T>
    void step(BlockRenderer<T>& renderer, AudioWriter& writer, RunReport& report, const T* in,
              std::vector<T>& out, int frames) {
        if (hooks_.cancelled && hooks_.cancelled()) throw HostError("interrupted");
        renderer.render(in, out.data(), frames);
        report.output.add(out.data(), frames);
        writer.write(out.data(), frames);
    }

    void progress(std::uint64_t done, std::uint64_t total) {
        if (hooks_.progress) hooks_.progress(done, total);
    }

    Plugin& plugin_;
    const FileRenderSettings& settings_;
    const RenderHooks& hooks_;
    AudioReader& reader_;
};

}  // namespace

RunReport renderFile(Plugin& plugin, AudioReader& input, const FileRenderSettings& settings,
                     const RenderHooks& hooks) {
    // Renaming the result over the input would destroy the user's original.
    if (sameFile(input.path(), settings.output))
        throw HostError("will not write '" + settings.output + "': it is the input file");
    Render render(plugin, settings, hooks, input);
    if (settings.precision == Precision::Double) return render.run<double>();
    return render.run<float>();
}

}  // namespace tovrel
