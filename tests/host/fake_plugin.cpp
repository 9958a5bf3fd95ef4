// A tiny VST 2.4 effect for the host tests, built several times with different shapes:
// FAKE_KIND 0 is a working effect, 1 returns no record, 2 a record with the wrong magic, 3
// exports no entry point. It keeps a journal of what the host asked, read with fakeJournal().
#include <cstring>
#include <string>

#include "frame/opcodes.h"

#ifndef FAKE_KIND
#define FAKE_KIND 0
#endif
#ifndef FAKE_INPUTS
#define FAKE_INPUTS 2
#endif
#ifndef FAKE_OUTPUTS
#define FAKE_OUTPUTS 2
#endif
#ifndef FAKE_CHUNKS
#define FAKE_CHUNKS 0
#endif
#ifndef FAKE_DOUBLE
#define FAKE_DOUBLE 0
#endif

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kParams = 2;
constexpr int kPrograms = 2;
const char* const kNames[kParams] = {"Gain", "Pan Law"};

std::string journal;

struct Fake {
    AEffect record{};
    float values[kPrograms][kParams] = {{0.5f, 0.25f}, {0.5f, 0.25f}};
    char programNames[kPrograms][32] = {"First", "Second"};
    int program = 0;
    float chunk[kParams] = {};
};

Fake* of(AEffect* effect) {
    return static_cast<Fake*>(effect->object);
}

void note(const std::string& text) {
    journal += text + ";";
}

void copyText(void* ptr, const char* text) {
    std::strcpy(static_cast<char*>(ptr), text);
}

VstIntPtr chunkRequest(Fake& fake, VstInt32 opcode, VstIntPtr value, void* ptr) {
    if (opcode == effGetChunk) {
        std::memcpy(fake.chunk, fake.values[fake.program], sizeof fake.chunk);
        *static_cast<void**>(ptr) = fake.chunk;
        return sizeof fake.chunk;
    }
    if (value >= static_cast<VstIntPtr>(sizeof fake.chunk)) {
        std::memcpy(fake.values[fake.program], ptr, sizeof fake.chunk);
    }
    return 0;
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
    Fake& fake = *of(effect);
    const bool validIndex = index >= 0 && index < kParams;
    switch (opcode) {
        case effOpen:
            note("open");
            return 0;
        case effClose:
            note("close");
            delete &fake;
            return 1;
        case effSetProgram:
            if (value >= 0 && value < kPrograms) fake.program = static_cast<int>(value);
            return 0;
        case effGetProgram:
            return fake.program;
        case effSetProgramName:
            std::strncpy(fake.programNames[fake.program], static_cast<char*>(ptr), 24);
            return 0;
        case effGetProgramName:
            copyText(ptr, fake.programNames[fake.program]);
            return 0;
        case effGetParamName:
            if (validIndex) copyText(ptr, kNames[index]);
            return 0;
        case effGetParamLabel:
            if (validIndex) copyText(ptr, "dB");
            return 0;
        case effGetParamDisplay:
            if (validIndex) copyText(ptr, "shown");
            return 0;
        case effSetSampleRate:
            note("rate " + std::to_string(static_cast<int>(opt)));
            return 0;
        case effSetBlockSize:
            note("block " + std::to_string(value));
            return 0;
        case effMainsChanged:
            note("mains " + std::to_string(value));
            return 0;
        case effGetChunk:
        case effSetChunk:
            return FAKE_CHUNKS ? chunkRequest(fake, opcode, value, ptr) : 0;
        case effSetProcessPrecision:
            note("precision " + std::to_string(value));
            return 1;
        case effStartProcess:
            note("start");
            return 0;
        case effStopProcess:
            note("stop");
            return 0;
        case effGetEffectName:
            copyText(ptr, "Fake");
            return 1;
        case effGetVendorVersion:
            return 7;
        case effCanDo:
            return std::strcmp(static_cast<char*>(ptr), "bypass") == 0 ? 1 : -1;
        default:
            return 0;
    }
}

template <typename T>
void process(AEffect* effect, T** inputs, T** outputs, VstInt32 frames) {
    const Fake& fake = *of(effect);
    const T gain = static_cast<T>(2.0f * fake.values[fake.program][0]);
    for (int o = 0; o < FAKE_OUTPUTS; ++o) {
        for (VstInt32 i = 0; i < frames; ++i) {
            outputs[o][i] =
                FAKE_INPUTS > 0 ? inputs[o % (FAKE_INPUTS > 0 ? FAKE_INPUTS : 1)][i] * gain : T(0);
        }
    }
    note("process " + std::to_string(frames));
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 0 && index < kParams) of(effect)->values[of(effect)->program][index] = value;
}

float getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < kParams ? of(effect)->values[of(effect)->program][index] : 0.0f;
}

[[maybe_unused]] AEffect* create(audioMasterCallback host) {
    journal.clear();
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
#if FAKE_KIND == 2
    static Fake refused;  // a host must not close a record it refused, so nothing is allocated
    Fake* fake = &refused;
#else
    auto* fake = new Fake;
#endif
    AEffect& r = fake->record;
    r.magic = FAKE_KIND == 2 ? fourCharCode('N', 'o', 'p', 'e') : kEffectMagic;
    r.dispatcher = dispatch;
    r.setParameter = setParameter;
    r.getParameter = getParameter;
    r.numPrograms = kPrograms;
    r.numParams = kParams;
    r.numInputs = FAKE_INPUTS;
    r.numOutputs = FAKE_OUTPUTS;
    r.flags = effFlagsCanReplacing | (FAKE_CHUNKS ? effFlagsProgramChunks : 0) |
              (FAKE_DOUBLE ? effFlagsCanDoubleReplacing : 0);
    r.object = fake;
    r.uniqueID = FAKE_CHUNKS ? fourCharCode('F', 'k', 'C', 'h') : fourCharCode('F', 'a', 'k', 'e');
    r.version = 1;
    r.processReplacing = process<float>;
    r.processDoubleReplacing = FAKE_DOUBLE ? process<double> : nullptr;
    return &r;
}

}  // namespace

FAKE_EXPORT const char* fakeJournal() {
    return journal.c_str();
}

#if FAKE_KIND == 1
FAKE_EXPORT AEffect* VSTPluginMain(audioMasterCallback) {
    return nullptr;
}
#elif FAKE_KIND != 3
FAKE_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    return create(host);
}
#else
FAKE_EXPORT AEffect* somethingElse(audioMasterCallback host) {
    return create(host);
}
#endif
