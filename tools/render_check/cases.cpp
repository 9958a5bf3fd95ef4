#include "tools/render_check/cases.h"

namespace tovrel::render {
namespace {

constexpr ParameterSet kZero{0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
constexpr ParameterSet kOne{1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr ParameterSet kTrimHiLoOne{1.0f, 1.0f, 1.0f, 0.5f, 0.5f};
constexpr ParameterSet kHalfGainMix{0.1f, 0.5f, 0.5f, 0.5f, 0.5f};
constexpr ParameterSet kZeroGain{0.3f, 0.7f, 0.2f, 0.0f, 1.0f};
constexpr ParameterSet kZeroMix{0.3f, 0.7f, 0.2f, 1.0f, 0.0f};
constexpr ParameterSet kAboveOne{1.7f, 2.5f, 1.25f, 1.5f, 1.125f};

constexpr SignalSpec kSweep{SignalKind::Sweep, 0.5};
constexpr SignalSpec kLoudSweep{SignalKind::Sweep, 1.0};
constexpr SignalSpec kNoise{SignalKind::Noise, 0.5};
constexpr SignalSpec kSilence{SignalKind::Silence, 0.0};
constexpr SignalSpec kSquare{SignalKind::Square, 4.0};
constexpr SignalSpec kTiny40{SignalKind::Tiny, 1e-40};
constexpr SignalSpec kTiny38{SignalKind::Tiny, 1e-38};
constexpr SignalSpec kBurst{SignalKind::Burst, 0.8};

const std::vector<int> kOddBlocks{0, 1, 7, 1, 0, 333, 2, 1021, 64, 5, 1, 0, 127};

// Steps through exact unity and away from it, so the skipped multiplications come and go.
const std::vector<ParameterStep> kParameterWalk{
    {3, 0.5f}, {4, 0.25f}, {0, 0.3f}, {3, 1.0f}, {1, 0.9f}, {4, 1.0f}, {2, 0.05f},
    {3, 0.0f}, {0, 1.0f},  {4, 0.0f}, {1, 0.5f}, {2, 0.5f}, {3, 1.0f}, {4, 0.75f},
    {0, 0.1f}, {4, 1.0f},  {1, 1.0f}, {2, 0.0f}, {3, 2.0f}, {4, 1.0f}, {1, 0.5f},
};

RenderCase make(std::string name, float rate, std::optional<ParameterSet> parameters,
                Precision precision, SignalSpec signal, int frames) {
    RenderCase c;
    c.name = std::move(name);
    c.sampleRate = rate;
    c.parameters = parameters;
    c.precision = precision;
    c.signal = signal;
    c.frames = frames;
    return c;
}

std::vector<RenderCase> buildSuite() {
    using P = Precision;
    const std::nullopt_t defaults = std::nullopt;
    std::vector<RenderCase> suite{
        // Every sample rate, the guarded low ones included, with default settings.
        make("rate44100-float-sweep", 44100, defaults, P::Float, kSweep, 44100),
        make("rate44100-double-sweep", 44100, defaults, P::Double, kSweep, 44100),
        make("rate48000-float-noise", 48000, defaults, P::Float, kNoise, 24000),
        make("rate88200-double-sweep", 88200, defaults, P::Double, kLoudSweep, 44100),
        make("rate96000-float-noise", 96000, defaults, P::Float, kNoise, 24000),
        make("rate192000-double-sweep", 192000, defaults, P::Double, kSweep, 48000),
        make("rate22050-float-sweep", 22050, defaults, P::Float, kSweep, 22050),
        make("rate32000-double-noise", 32000, defaults, P::Double, kNoise, 16000),
        // Parameter settings.
        make("zero-float-noise", 44100, kZero, P::Float, kNoise, 16000),
        make("zero-double-sweep", 48000, kZero, P::Double, kSweep, 16000),
        make("one-float-square", 44100, kOne, P::Float, kSquare, 24000),
        make("one-double-sweep", 96000, kOne, P::Double, kLoudSweep, 24000),
        make("trim-hi-lo-one-double-square", 88200, kTrimHiLoOne, P::Double, kSquare, 24000),
        make("gain-mix-half-float-sweep", 44100, kHalfGainMix, P::Float, kSweep, 24000),
        make("gain-mix-half-double-noise", 48000, kHalfGainMix, P::Double, kNoise, 16000),
        make("gain-zero-float-noise", 44100, kZeroGain, P::Float, kNoise, 16000),
        make("mix-zero-double-sweep", 44100, kZeroMix, P::Double, kSweep, 16000),
        make("above-one-float-square", 44100, kAboveOne, P::Float, kSquare, 24000),
        make("above-one-double-noise", 192000, kAboveOne, P::Double, kNoise, 24000),
        // Signals at the edges: silence, values around the tiny-input thresholds, decay.
        make("silence-float", 44100, defaults, P::Float, kSilence, 16000),
        make("silence-double", 96000, defaults, P::Double, kSilence, 16000),
        make("tiny1e-40-float", 44100, defaults, P::Float, kTiny40, 8000),
        make("tiny1e-40-double", 44100, kOne, P::Double, kTiny40, 8000),
        make("tiny1e-38-float", 48000, kOne, P::Float, kTiny38, 8000),
        make("tiny1e-38-double", 48000, defaults, P::Double, kTiny38, 8000),
        make("burst-float", 44100, defaults, P::Float, kBurst, 88200),
        make("burst-double", 48000, kOne, P::Double, kBurst, 96000),
    };

    RenderCase odd = make("odd-blocks-float-noise", 44100, defaults, P::Float, kNoise, 24000);
    odd.blocks = kOddBlocks;
    RenderCase walk =
        make("parameter-walk-double-sweep", 48000, defaults, P::Double, kSweep, 24000);
    walk.blocks = {1, 300, 0, 77, 512};
    walk.parameterSteps = kParameterWalk;
    RenderCase mixed =
        make("float-then-double-noise", 44100, kHalfGainMix, P::Alternate, kNoise, 24000);
    mixed.blocks = {256, 1, 100, 0, 511};
    mixed.parameterSteps = kParameterWalk;
    RenderCase rates =
        make("rate-changes-alternate-sweep", 44100, defaults, P::Alternate, kSweep, 48000);
    rates.blocks = {480, 13};
    rates.rateSteps = {96000, 22050, 192000, 32000, 48000, 88200, 44100};
    rates.rateEvery = 8;
    for (RenderCase* c : {&odd, &walk, &mixed, &rates}) suite.push_back(std::move(*c));
    return suite;
}

}  // namespace

const std::vector<RenderCase>& renderSuite() {
    static const std::vector<RenderCase> suite = buildSuite();
    return suite;
}

const RenderCase* findCase(const std::string& name) {
    for (const RenderCase& c : renderSuite()) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

}  // namespace tovrel::render
