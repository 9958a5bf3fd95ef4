#include "file_render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "audio_reader.h"
#include "audio_writer.h"
#include "chain_renderer.h"
#include "file_identity.h"
#include "host_error.h"

namespace tovrel {
namespace {

class Render {
  public:
    Render(const std::vector<Plugin*>& chain, const FileRenderSettings& settings,
           const RenderHooks& hooks, AudioReader& reader)
        : chain_(chain), settings_(settings), hooks_(hooks), reader_(reader) {}

    template <typename T>
    RunReport run() {
        const auto start = std::chrono::steady_clock::now();
        for (Plugin* plugin : chain_) requirePrecision(*plugin, settings_.precision);
        const int outputs = chain_.back()->record().numOutputs;
        AudioWriter writer(settings_.output, outputs, reader_.sampleRate(),
                           chooseOutputFormat(settings_.output, reader_.format(), settings_.bits,
                                              outputs, reader_.sampleRate()));
        RunReport report;
        report.sampleRate = reader_.sampleRate();
        report.input = SignalStats(reader_.channels());
        report.output = SignalStats(outputs);
        if (settings_.automation != nullptr) settings_.automation->apply(chain_, 0);
        {
            std::vector<std::unique_ptr<ProcessingSession>> sessions;
            for (Plugin* plugin : chain_) {
                sessions.push_back(std::make_unique<ProcessingSession>(
                    *plugin, reader_.sampleRate(), settings_.blockSize, settings_.precision));
            }
            ChainRenderer<T> renderer(chain_, reader_.channels(), settings_.blockSize);
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
    void stream(ChainRenderer<T>& renderer, AudioWriter& writer, RunReport& report) {
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
    void step(ChainRenderer<T>& renderer, AudioWriter& writer, RunReport& report, const T* in,
              std::vector<T>& out, int frames) {
        if (hooks_.cancelled && hooks_.cancelled()) throw HostError("interrupted");
        if (settings_.automation == nullptr) {
            renderer.render(in, out.data(), frames);
        } else {
            automated(renderer, in, out.data(), frames);
        }
        position_ += frames;
        report.output.add(out.data(), frames);
        writer.write(out.data(), frames);
    }

    // The block in sub-blocks, each begun with the moving parameters at their values there.
    template <typename T>
    void automated(ChainRenderer<T>& renderer, const T* in, T* out, int frames) {
        Automation& automation = *settings_.automation;
        const int inChannels = reader_.channels(), outChannels = renderer.outputChannels();
        for (int done = 0; done < frames;) {
            const std::int64_t at = position_ + done;
            const int count = static_cast<int>(
                std::min<std::int64_t>(automation.nextBoundary(at) - at, frames - done));
            automation.apply(chain_, at);
            renderer.render(in == nullptr ? nullptr : in + std::size_t(done) * inChannels,
                            out + std::size_t(done) * outChannels, count);
            done += count;
        }
    }

    void progress(std::uint64_t done, std::uint64_t total) {
        if (hooks_.progress) hooks_.progress(done, total);
    }

    const std::vector<Plugin*>& chain_;
    const FileRenderSettings& settings_;
    const RenderHooks& hooks_;
    AudioReader& reader_;
    std::int64_t position_ = 0;  // frames rendered so far
};

}  // namespace

RunReport renderFile(Plugin& plugin, AudioReader& input, const FileRenderSettings& settings,
                     const RenderHooks& hooks) {
    return renderFile(std::vector<Plugin*>{&plugin}, input, settings, hooks);
}

RunReport renderFile(const std::vector<Plugin*>& chain, AudioReader& input,
                     const FileRenderSettings& settings, const RenderHooks& hooks) {
    // Renaming the result over the input would destroy the user's original.
    if (sameFile(input.path(), settings.output))
        throw HostError("will not write '" + settings.output + "': it is the input file");
    Render render(chain, settings, hooks, input);
    if (settings.precision == Precision::Double) return render.run<double>();
    return render.run<float>();
}

}  // namespace tovrel
