// The published VST 2.4 effect record and the host callback type, written from the
// interface tables; the host side of the project includes this file and nothing else
// of the frame.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index,
                                                   float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// Four characters packed with the first one in the most significant byte.
constexpr VstInt32 fourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');  // 1450406992

struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  // the old accumulating entry
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

// Hosts on both word sizes rely on these exact offsets; a mistake here breaks every load.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(AEffect) == 144, "32-bit AEffect must be 144 bytes");
static_assert(offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, process) == 8 &&
                  offsetof(AEffect, setParameter) == 12 && offsetof(AEffect, getParameter) == 16 &&
                  offsetof(AEffect, numPrograms) == 20 && offsetof(AEffect, numParams) == 24 &&
                  offsetof(AEffect, numInputs) == 28 && offsetof(AEffect, numOutputs) == 32 &&
                  offsetof(AEffect, flags) == 36 && offsetof(AEffect, resvd1) == 40 &&
                  offsetof(AEffect, resvd2) == 44 && offsetof(AEffect, initialDelay) == 48 &&
                  offsetof(AEffect, realQualities) == 52 && offsetof(AEffect, offQualities) == 56 &&
                  offsetof(AEffect, ioRatio) == 60 && offsetof(AEffect, object) == 64 &&
                  offsetof(AEffect, user) == 68 && offsetof(AEffect, uniqueID) == 72 &&
                  offsetof(AEffect, version) == 76 && offsetof(AEffect, processReplacing) == 80 &&
                  offsetof(AEffect, processDoubleReplacing) == 84 &&
                  offsetof(AEffect, future) == 88,
              "32-bit AEffect layout");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(AEffect) == 192, "64-bit AEffect must be 192 bytes");
static_assert(offsetof(AEffect, dispatcher) == 8 && offsetof(AEffect, process) == 16 &&
                  offsetof(AEffect, setParameter) == 24 && offsetof(AEffect, getParameter) == 32 &&
                  offsetof(AEffect, numPrograms) == 40 && offsetof(AEffect, numParams) == 44 &&
                  offsetof(AEffect, numInputs) == 48 && offsetof(AEffect, numOutputs) == 52 &&
                  offsetof(AEffect, flags) == 56 && offsetof(AEffect, resvd1) == 64 &&
                  offsetof(AEffect, resvd2) == 72 && offsetof(AEffect, initialDelay) == 80 &&
                  offsetof(AEffect, realQualities) == 84 && offsetof(AEffect, offQualities) == 88 &&
                  offsetof(AEffect, ioRatio) == 92 && offsetof(AEffect, object) == 96 &&
                  offsetof(AEffect, user) == 104 && offsetof(AEffect, uniqueID) == 112 &&
                  offsetof(AEffect, version) == 116 && offsetof(AEffect, processReplacing) == 120 &&
                  offsetof(AEffect, processDoubleReplacing) == 128 &&
                  offsetof(AEffect, future) == 136,
              "64-bit AEffect layout");
#endif

// Record flag bits.
enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
    effFlagsCanDoubleReplacing = 1 << 12,
};

enum VstPlugCategory : VstInt32 {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

// Entry point name a host looks up after loading the binary.
using VstPluginMainProc = AEffect* (*)(audioMasterCallback host);
