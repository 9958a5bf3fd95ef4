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
#include "frame/opcodes.h"
#include "host_error.h"
#include "resample.h"

namespace tovrel {
namespace {

// --tail auto without a size from the plug-in: until the output stays under -120 dBFS for
// 100 ms. Either way no longer than 30 s.
constexpr double kQuietLevel = 1e-6;
constexpr double kQuietSeconds = 0.1;
constexpr double kLongestTailSeconds = 30.0;

// Read once processing has started: plug-ins may settle their latency only on resume.
std::int64_t chainLatency(const std::vector<Plugin*>& chain) {
    std::int64_t latency = 0;
    for (Plugin* plugin : chain) latency += std::max<VstInt32>(0, plugin->record().initialDelay);
    return latency;
}

// The chain's tail in frames when every member reports one, else -1. A plug-in answers 0 when
// it does not know and 1 when it has no tail.
std::int64_t chainTail(const std::vector<Plugin*>& chain) {
    std::int64_t tail = 0;
    for (Plugin* plugin : chain) {
        const VstIntPtr size = plugin->dispatch(effGetTailSize);
        if (size <= 0) return -1;
        tail += size == 1 ? 0 : size;
    }
    return tail;
}

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
        rate_ = settings_.rate > 0 ? settings_.rate : reader_.sampleRate();
        if (rate_ != reader_.sampleRate()) report.processingRate = rate_;
        if (rate_ != reader_.sampleRate()) {
            resampled<T>(writer, report, outputs);
        } else {
            sourceFrames_ = reader_.frames();
            process<T>(
                report, [this](T* in, int frames) { return reader_.read(in, frames); },
                [&](const T* out, int frames) {
                    report.output.add(out, frames);
                    writer.write(out, frames);
                });
        }
        writer.commit();
        report.integerOutput = writer.integerOutput();
        report.clipped = writer.clipped();
        report.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return report;
    }

  private:
    // One processing run over the source, at rate_, with every member in a session.
    template <typename T, typename Read, typename Write>
    void process(RunReport& report, Read read, Write write) {
        if (settings_.automation != nullptr) settings_.automation->apply(chain_, 0);
        std::vector<std::unique_ptr<ProcessingSession>> sessions;
        for (Plugin* plugin : chain_) {
            sessions.push_back(std::make_unique<ProcessingSession>(
                *plugin, rate_, settings_.blockSize, settings_.precision));
        }
        ChainRenderer<T> renderer(chain_, reader_.channels(), settings_.blockSize);
        stream(renderer, read, write, report);
        report.pluginSeconds = renderer.pluginSeconds();
    }

    // --rate: the whole input converted to rate_, processed, and converted back.
    template <typename T>
    void resampled(AudioWriter& writer, RunReport& report, int outputs) {
        const int channels = reader_.channels();
        std::vector<float> input(static_cast<std::size_t>(reader_.frames()) * channels);
        const int got = reader_.read(input.data(), static_cast<int>(reader_.frames()));
        input.resize(static_cast<std::size_t>(got) * channels);
        report.input.add(input.data(), got);
        const std::vector<float> there = resample(input, channels, reader_.sampleRate(), rate_);
        sourceFrames_ = static_cast<std::int64_t>(there.size()) / channels;
        std::size_t at = 0;
        std::vector<float> processed;
        process<T>(
            report,
            [&](T* in, int frames) {
                const int count = static_cast<int>(std::min<std::size_t>(
                    static_cast<std::size_t>(frames), (there.size() - at) / channels));
                std::copy(there.begin() + at, there.begin() + at + std::size_t(count) * channels,
                          in);
                at += static_cast<std::size_t>(count) * channels;
                return count;
            },
            [&](const T* out, int frames) {
                processed.insert(processed.end(), out, out + std::size_t(frames) * outputs);
            });
        const std::vector<float> back = resample(processed, outputs, rate_, reader_.sampleRate());
        const int frames = static_cast<int>(back.size() / static_cast<std::size_t>(outputs));
        report.output.add(back.data(), frames);
        writer.write(back.data(), frames);
    }

    template <typename T, typename Read, typename Write>
    void stream(ChainRenderer<T>& renderer, Read& read, Write& write, RunReport& report) {
        const int block = settings_.blockSize;
        std::vector<T> in(static_cast<std::size_t>(block) * reader_.channels());
        std::vector<T> out(static_cast<std::size_t>(block) * renderer.outputChannels());
        report.latency = chainLatency(chain_);
        report.latencyCompensated = settings_.compensateLatency && report.latency > 0;
        const std::int64_t held = report.latencyCompensated ? report.latency : 0;
        skip_ = held;
        const double rate = rate_;
        std::int64_t tail = std::llround(settings_.tailSeconds * rate);
        report.tailSource = TailSource::Option;
        if (settings_.autoTail) {
            const std::int64_t reported = chainTail(chain_);
            report.tailSource = reported < 0 ? TailSource::Detected : TailSource::Plugin;
            const std::int64_t longest = std::llround(kLongestTailSeconds * rate);
            tail = reported < 0 ? longest : std::min(reported, longest);
        }
        const auto total = static_cast<std::uint64_t>(sourceFrames_ + tail + held);
        std::uint64_t done = 0;
        const auto silence = [&](std::int64_t frames, bool untilQuiet) {
            const auto quietEnough = static_cast<std::int64_t>(std::llround(kQuietSeconds * rate));
            for (std::int64_t left = frames; left > 0;) {
                if (untilQuiet && quietRun_ >= quietEnough) break;
                const int count = static_cast<int>(std::min<std::int64_t>(left, block));
                step<T>(renderer, write, nullptr, out, count);
                left -= count;
                progress(done += static_cast<std::uint64_t>(count), total);
            }
        };
        while (const int got = read(in.data(), block)) {
            if (rate_ == reader_.sampleRate()) report.input.add(in.data(), got);
            step(renderer, write, in.data(), out, got);
            progress(done += static_cast<std::uint64_t>(got), total);
        }
        const std::int64_t before = position_;
        quietRun_ = 0;  // the tail is silent only once the plug-in's own output has been heard
        silence(tail, report.tailSource == TailSource::Detected);
        report.tailFrames = position_ - before;
        silence(held, false);  // what the latency still holds back
        progress(total, total);
    }

    template <typename T, typename Write>
    void step(ChainRenderer<T>& renderer, Write& write, const T* in, std::vector<T>& out,
              int frames) {
        if (hooks_.cancelled && hooks_.cancelled()) throw HostError("interrupted");
        if (settings_.automation == nullptr) {
            renderer.render(in, out.data(), frames);
        } else {
            automated(renderer, in, out.data(), frames);
        }
        position_ += frames;
        trackQuiet(out.data(), frames * renderer.outputChannels(), renderer.outputChannels());
        // The first frames are the plug-in's latency, not yet the input's sound.
        const int dropped = static_cast<int>(std::min<std::int64_t>(skip_, frames));
        skip_ -= dropped;
        const T* kept = out.data() + std::size_t(dropped) * renderer.outputChannels();
        write(kept, frames - dropped);
    }

    template <typename T>
    void trackQuiet(const T* out, int values, int channels) {
        for (int i = 0; i < values; i += channels) {
            bool quiet = true;
            for (int c = 0; c < channels; ++c) quiet = quiet && std::fabs(out[i + c]) < kQuietLevel;
            quietRun_ = quiet ? quietRun_ + 1 : 0;
        }
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
    double rate_ = 0.0;              // the plug-ins' rate
    std::int64_t sourceFrames_ = 0;  // of the input at rate_
    std::int64_t position_ = 0;      // frames rendered so far
    std::int64_t skip_ = 0;          // latency frames still to drop from the output
    std::int64_t quietRun_ = 0;      // frames in a row below kQuietLevel on every channel
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
