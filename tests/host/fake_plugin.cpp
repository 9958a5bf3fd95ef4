// A tiny VST 2.4 effect for the host tests, built several times with different shapes (the
// FAKE_* definitions come from the build file): FAKE_KIND 0 is a working effect, 1 returns no
// record, 2 a record with the wrong magic, 3 exports no entry point, 4 crashes in its entry
// point and 5 never returns from it. FAKE_PROCESS picks what a working one does to sound, known
// exactly for the measurement tests: 0 a gain of twice the Gain parameter, 1 delays output o by
// o + 1 samples, 2 the gain then a hard clip at +-0.5, 3 delays every output by FAKE_LATENCY
// samples and reports that latency only once resumed, as many plug-ins do; FAKE_TAIL is what it
// answers for its tail size. It journals the host's requests, read with fakeJournal().
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <utility>

#include "frame/opcodes.h"

namespace {

constexpr int kParams = 2;
const char* const kNames[kParams] = {"Gain", "Pan Law"};
const std::pair<VstInt32, const char*> kJournalled[] = {
    {effOpen, "open"},          {effClose, "close"},        {effSetSampleRate, "rate"},
    {effSetBlockSize, "block"}, {effMainsChanged, "mains"}, {effSetProcessPrecision, "precision"},
    {effStartProcess, "start"}, {effStopProcess, "stop"}};

std::string journal;

constexpr int kLongestDelay = FAKE_OUTPUTS > FAKE_LATENCY ? FAKE_OUTPUTS : FAKE_LATENCY;

struct Fake {
    AEffect record{};
    float values[kParams] = {0.5f, 0.25f};
    double delayLine[FAKE_OUTPUTS][kLongestDelay] = {};  // newest sample first
};

Fake& of(AEffect* effect) {
    return *static_cast<Fake*>(effect->object);
}

// The text a request asks for, or null when it asks for none.
const char* textOf(VstInt32 opcode, VstInt32 index) {
    const bool known = index >= 0 && index < kParams;
    if (opcode == effGetParamName && known) return kNames[index];
    if ((opcode == effGetParamLabel || opcode == effGetParamDisplay) && known) return "dB";
    return opcode == effGetEffectName || opcode == effGetProgramName ? "Fake" : nullptr;
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
    Fake& fake = of(effect);
    for (const auto& [code, name] : kJournalled) {
        const VstIntPtr shown = opcode == effSetSampleRate ? static_cast<VstIntPtr>(opt) : value;
        if (code == opcode) journal += std::string(name) + " " + std::to_string(shown) + ";";
    }
    if (const char* text = textOf(opcode, index)) {
        std::strcpy(static_cast<char*>(ptr), text);
        return 1;
    }
    switch (opcode) {
        case effClose:
            delete &fake;
            return 1;
        case effMainsChanged:
            if (FAKE_PROCESS == 3) effect->initialDelay = value != 0 ? FAKE_LATENCY : 0;
            return 0;
        case effGetTailSize:
            return FAKE_TAIL;
        case effGetChunk:  // the chunk is the parameter values
            *static_cast<void**>(ptr) = fake.values;
            return FAKE_CHUNKS ? sizeof fake.values : 0;
        case effSetChunk:
            if (FAKE_CHUNKS && value == sizeof fake.values) std::memcpy(fake.values, ptr, value);
            return 0;
        default:  // the vendor version, and yes to either precision
            return opcode == effGetVendorVersion ? 7 : opcode == effSetProcessPrecision;
    }
}

template <typename T>
T delayed(double* line, int delay, T input) {
    const T out = static_cast<T>(line[delay - 1]);
    for (int k = delay - 1; k > 0; --k) line[k] = line[k - 1];
    line[0] = input;
    return out;
}

template <typename T>
void process(AEffect* effect, T** inputs, T** outputs, VstInt32 frames) {
    Fake& fake = of(effect);
    const T gain = static_cast<T>(2.0f * fake.values[0]);
    for (int o = 0; o < FAKE_OUTPUTS; ++o) {
        for (VstInt32 i = 0; i < frames; ++i) {
            const T in = inputs[o % FAKE_INPUTS][i];
            T& out = outputs[o][i];
            if (FAKE_PROCESS == 1) {
                out = delayed(fake.delayLine[o], o + 1, in);
            } else if (FAKE_PROCESS == 3) {
                out = delayed(fake.delayLine[o], FAKE_LATENCY, in);
            } else {
                out = in * gain;
                if (FAKE_PROCESS == 2) out = out > T(0.5) ? T(0.5) : out < T(-0.5) ? T(-0.5) : out;
            }
        }
    }
    journal += "process " + std::to_string(frames) + ";";
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 0 && index < kParams) of(effect).values[index] = value;
}

float getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < kParams ? of(effect).values[index] : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* fakeJournal() {
    return journal.c_str();
}

// Kind 3 exports this under a name no host looks for.
extern "C" __attribute__((visibility("default"))) AEffect* FAKE_ENTRY(audioMasterCallback host) {
    journal.clear();
    if (FAKE_KIND == 4) std::raise(SIGSEGV);
    while (FAKE_KIND == 5) pause();
    if (FAKE_KIND == 1 || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    static Fake refused;  // a host must not close a record it refused, so nothing is allocated
    Fake* fake = FAKE_KIND == 2 ? &refused : new Fake;
    AEffect& r = fake->record;
    r.magic = FAKE_KIND == 2 ? fourCharCode('N', 'o', 'p', 'e') : kEffectMagic;
    r.dispatcher = dispatch;
    r.setParameter = setParameter;
    r.getParameter = getParameter;
    r.numPrograms = 1;
    r.numParams = kParams;
    r.numInputs = FAKE_INPUTS;
    r.numOutputs = FAKE_OUTPUTS;
    r.flags = effFlagsCanReplacing | (FAKE_CHUNKS ? effFlagsProgramChunks : 0) |
              (FAKE_DOUBLE ? effFlagsCanDoubleReplacing : 0);
    r.object = fake;
    r.uniqueID = FAKE_CHUNKS ? fourCharCode('F', 'k', 'C', 'h') : fourCharCode('F', 'a', 'k', 'e');
    r.processReplacing = process<float>;
    r.processDoubleReplacing = FAKE_DOUBLE ? process<double> : nullptr;
    return &r;
}
