// Requests and the operations they reach, as one list that both defines the recording effect's
// operations and drives the routing test. Each entry: request number, the operation's result
// type, name, parameters, the arguments it logs, what it logs when the request carries index 3,
// value 5, ptr P and opt 0.5, and the dispatcher's answer when every operation answers 7. The
// list is a sample in which each way the request tables place arguments or read an answer
// appears; the host-level tests reach the requests this effect answers itself.
#pragma once

#include <cstdint>
#include <type_traits>

#include "frame/audio_effect_x.h"

// Written as int and intptr_t to keep each entry on one line.
static_assert(std::is_same_v<VstInt32, int>);
using Arrangement = VstSpeakerArrangement;

#define TOVREL_EFFECT_ROUTES(X)                                                              \
    X(1, void, close, (), (), "", 0)                                                         \
    X(2, void, setProgram, (int n), (n), "5", 0)                                             \
    X(3, int, getProgram, (), (), "", 7)                                                     \
    X(9, float, getVu, (), (), "", 229369)                                                   \
    X(10, void, setSampleRate, (float r), (r), "0.5", 0)                                     \
    X(12, void, resume, (), (), "", 0)                                                       \
    X(23, int, getChunk, (void** d, bool b), (d, b), "P,1", 7)                               \
    X(24, int, setChunk, (void* d, int n, bool b), (d, n, b), "P,5,1", 7)                    \
    X(29, bool, getProgramNameIndexed, (int c, int i, char* t), (c, i, t), "5,3,P", 1)       \
    X(32, void, outputConnected, (int i, bool b), (i, b), "3,1", 1)                          \
    X(42, bool, setSpeakerArrangement, (Arrangement * i, Arrangement * o), (i, o), "5,P", 1) \
    X(50, intptr_t, vendorSpecific, (int a, intptr_t b, void* p, float f), (a, b, p, f),     \
      "3,5,P,0.5", 7)                                                                        \
    X(51, int, canDo, (char* t), (t), "P", 7)                                                \
    X(57, bool, keysRequired, (), (), "", 0)                                                 \
    X(73, int, setTotalSampleToProcess, (int n), (n), "5", 7)

// Reached with value 0, or through the record's other entry points rather than a request.
#define TOVREL_OTHER_OPERATIONS(X)                                            \
    X(12, void, suspend, (), (), "", 0)                                       \
    X(-1, void, setParameter, (int i, float v), (i, v), "", 0)                \
    X(-1, float, getParameter, (int i), (i), "", 0)                           \
    X(-1, void, process, (float** i, float**, int n), (i, n), "", 0)          \
    X(-1, void, processReplacing, (float** i, float**, int n), (i, n), "", 0) \
    X(-1, void, processDoubleReplacing, (double** i, double**, int n), (i, n), "", 0)
