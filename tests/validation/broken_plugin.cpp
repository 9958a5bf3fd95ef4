// A small stereo gain written against our own record header, built once per fault: each
// BROKEN_* macro plants one fault a validator must catch. Without any it is a correct plug-in.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

#include "frame/opcodes.h"

namespace {

constexpr int kParams = 3;
const char* const kNames[kParams] = {"Gain", "Tone", "Mix"};

#if defined(BROKEN_RACES)
using Value = float;  // set by the host's interface thread, read by processing, unsynchronised
#else
using Value = std::atomic<float>;
#endif

struct Broken {
    AEffect record{};
    Value values[kParams] = {0.5f, 0.25f, 1.0f};
    float memory[2] = {0.0f, 0.0f};  // a one-pole smoother per channel
    float chunk[kParams];
};

Broken* self(AEffect* effect) {
    return static_cast<Broken*>(effect->object);
}

void copyText(void* destination, const char* text) {
    std::strncpy(static_cast<char*>(destination), text, kVstMaxParamStrLen);
    static_cast<char*>(destination)[kVstMaxParamStrLen] = '\0';
}

bool inRange(VstInt32 index) {
    return index >= 0 && index < kParams;
}

VstIntPtr getChunk(Broken& plugin, void* ptr) {
    for (int i = 0; i < kParams; ++i) plugin.chunk[i] = plugin.values[i];
    *static_cast<void**>(ptr) = plugin.chunk;
    return sizeof plugin.chunk;
}

VstIntPtr setChunk(Broken& plugin, const void* data, VstIntPtr size) {
    if (data == nullptr || size != static_cast<VstIntPtr>(sizeof plugin.chunk)) return 0;
    float values[kParams];
    std::memcpy(values, data, sizeof values);
#if defined(BROKEN_CHUNK)
    values[1] = plugin.values[1];  // forgets the second parameter
#endif
    for (int i = 0; i < kParams; ++i) plugin.values[i] = values[i];
    return 1;
}

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float) {
    Broken& plugin = *self(effect);
    switch (opcode) {
        case effClose:
            delete &plugin;
            return 1;
        case effGetParamName:
#if defined(BROKEN_TEXT_OVERRUN)
            if (inRange(index)) std::strcpy(static_cast<char*>(ptr), "A much too long name");
            return 0;
#else
            if (inRange(index)) copyText(ptr, kNames[index]);
            return 0;
#endif
        case effGetParamLabel:
            if (inRange(index)) copyText(ptr, "");
            return 0;
        case effGetParamDisplay:
            if (inRange(index)) copyText(ptr, std::to_string(plugin.values[index]).c_str());
            return 0;
        case effGetEffectName:
            copyText(ptr, "Broken");
            return 1;
        case effGetVendorString:
        case effGetProductString:
            copyText(ptr, "tovrel tests");
            return 1;
        case effGetChunk:
            return getChunk(plugin, ptr);
        case effSetChunk:
            return setChunk(plugin, ptr, value);
        case effGetVstVersion:
            return 2400;
        case effMainsChanged:
            plugin.memory[0] = plugin.memory[1] = 0.0f;
            return 0;
        default:
            return 0;
    }
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (inRange(index)) self(effect)->values[index] = value;
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
#if defined(BROKEN_RANGE_CRASH)
    if (!inRange(index)) raise(SIGSEGV);  // what reading far outside a table does
#endif
    return inRange(index) ? static_cast<float>(self(effect)->values[index]) : 0.0f;
}

void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    Broken& plugin = *self(effect);
#if defined(BROKEN_ALLOCATES)
    std::vector<float> scratch(static_cast<std::size_t>(frames) + 1);
    volatile float* keep = scratch.data();
    (void)keep;
#endif
#if defined(BROKEN_LOCKS)
    static std::mutex lock;
    const std::lock_guard<std::mutex> hold(lock);
#endif
#if defined(BROKEN_CALLS_SYSTEM)
    volatile pid_t parent = getppid();
    (void)parent;
#endif
#if defined(BROKEN_LEAVES_FTZ) && defined(__x86_64__)
    _mm_setcsr(_mm_getcsr() | 0x8040);  // flush-to-zero and denormals-are-zero, never undone
#endif
    const float gain = 2.0f * plugin.values[0];
    for (int c = 0; c < 2; ++c) {
        float memory = plugin.memory[c];
        for (VstInt32 i = 0; i < frames; ++i) {
            // Tiny values go to zero: a subnormal input or tail would cost many times a normal one.
            const float input = std::fabs(inputs[c][i]) < 1e-30f ? 0.0f : inputs[c][i];
            memory += 0.5f * (input - memory);
            if (std::fabs(memory) < 1e-30f) memory = 0.0f;
#if !defined(BROKEN_NAN_STICKS)
            if (!std::isfinite(memory)) memory = 0.0f;  // a poisoned input must not stay
#endif
            outputs[c][i] = gain * memory;
        }
        plugin.memory[c] = memory;
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
#if defined(BROKEN_HANGS_ON_LOAD)
    for (;;) pause();
#endif
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    auto* plugin = new Broken;
    AEffect& record = plugin->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatch;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = process;
    record.numParams = kParams;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    record.object = plugin;
    record.uniqueID = fourCharCode('b', 'r', 'k', 'n');
    record.version = 1;
    return &record;
}
