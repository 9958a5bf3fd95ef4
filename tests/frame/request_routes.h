// Requests and the operations they reach, as one list that both defines the recording effect's
// operations and drives the routing test. Each entry: request number, the operation's result
// type, name, parameters, the arguments it logs, what it logs when the request carries index 3,
// value 5, ptr P and opt 0.5, and the dispatcher's answer when every operation answers 7. Every
// request that reaches an operation of the effect is here, but for the two answering an address
// (37, 54), which pass it through as the others pass their numbers.
#pragma once

#include <cstdint>
#include <type_traits>

#include "frame/audio_effect_x.h"

// Written as int and intptr_t to keep each entry on one line.
static_assert(std::is_same_v<VstInt32, int>);
using Arrangement = VstSpeakerArrangement;

#define TOVREL_EFFECT_ROUTES(X)                                                                \
    X(0, void, open, (), (), "", 0)                                                            \
    X(1, void, close, (), (), "", 0)                                                           \
    X(2, void, setProgram, (int n), (n), "5", 0)                                               \
    X(3, int, getProgram, (), (), "", 7)                                                       \
    X(4, void, setProgramName, (char* t), (t), "P", 0)                                         \
    X(5, void, getProgramName, (char* t), (t), "P", 0)                                         \
    X(6, void, getParameterLabel, (int i, char* t), (i, t), "3,P", 0)                          \
    X(7, void, getParameterDisplay, (int i, char* t), (i, t), "3,P", 0)                        \
    X(8, void, getParameterName, (int i, char* t), (i, t), "3,P", 0)                           \
    X(9, float, getVu, (), (), "", 229369)                                                     \
    X(10, void, setSampleRate, (float r), (r), "0.5", 0)                                       \
    X(11, void, setBlockSize, (int n), (n), "5", 0)                                            \
    X(12, void, resume, (), (), "", 0)                                                         \
    X(23, int, getChunk, (void** d, bool b), (d, b), "P,1", 7)                                 \
    X(24, int, setChunk, (void* d, int n, bool b), (d, n, b), "P,5,1", 7)                      \
    X(25, int, processEvents, (VstEvents * e), (e), "P", 7)                                    \
    X(26, bool, canParameterBeAutomated, (int i), (i), "3", 1)                                 \
    X(27, bool, string2parameter, (int i, char* t), (i, t), "3,P", 1)                          \
    X(28, int, getNumCategories, (), (), "", 7)                                                \
    X(29, bool, getProgramNameIndexed, (int c, int i, char* t), (c, i, t), "5,3,P", 1)         \
    X(30, bool, copyProgram, (int i), (i), "3", 1)                                             \
    X(31, void, inputConnected, (int i, bool b), (i, b), "3,1", 1)                             \
    X(32, void, outputConnected, (int i, bool b), (i, b), "3,1", 1)                            \
    X(33, bool, getInputProperties, (int i, VstPinProperties* p), (i, p), "3,P", 1)            \
    X(34, bool, getOutputProperties, (int i, VstPinProperties* p), (i, p), "3,P", 1)           \
    X(35, VstPlugCategory, getPlugCategory, (), (), "", 7)                                     \
    X(36, int, reportCurrentPosition, (), (), "", 7)                                           \
    X(38, bool, offlineNotify, (VstAudioFile * f, int n, bool b), (f, n, b), "P,5,1", 1)       \
    X(39, bool, offlinePrepare, (VstOfflineTask * t, int n), (t, n), "P,5", 1)                 \
    X(40, bool, offlineRun, (VstOfflineTask * t, int n), (t, n), "P,5", 1)                     \
    X(41, bool, processVariableIo, (VstVariableIo * v), (v), "P", 1)                           \
    X(42, bool, setSpeakerArrangement, (Arrangement * i, Arrangement * o), (i, o), "5,P", 1)   \
    X(43, void, setBlockSizeAndSampleRate, (int n, float r), (n, r), "5,0.5", 1)               \
    X(44, bool, setBypass, (bool b), (b), "1", 1)                                              \
    X(45, bool, getEffectName, (char* t), (t), "P", 1)                                         \
    X(46, bool, getErrorText, (char* t), (t), "P", 1)                                          \
    X(47, bool, getVendorString, (char* t), (t), "P", 1)                                       \
    X(48, bool, getProductString, (char* t), (t), "P", 1)                                      \
    X(49, int, getVendorVersion, (), (), "", 7)                                                \
    X(50, intptr_t, vendorSpecific, (int a, intptr_t b, void* p, float f), (a, b, p, f),       \
      "3,5,P,0.5", 7)                                                                          \
    X(51, int, canDo, (char* t), (t), "P", 7)                                                  \
    X(52, int, getGetTailSize, (), (), "", 7)                                                  \
    X(53, int, fxIdle, (), (), "", 7)                                                          \
    X(55, bool, setViewPosition, (int x, int y), (x, y), "3,5", 1)                             \
    X(56, bool, getParameterProperties, (int i, VstParameterProperties* p), (i, p), "3,P", 1)  \
    X(57, bool, keysRequired, (), (), "", 0)                                                   \
    X(58, int, getVstVersion, (), (), "", 7)                                                   \
    X(62, int, getMidiProgramName, (int c, MidiProgramName* n), (c, n), "3,P", 7)              \
    X(63, int, getCurrentMidiProgram, (int c, MidiProgramName* n), (c, n), "3,P", 7)           \
    X(64, int, getMidiProgramCategory, (int c, MidiProgramCategory* n), (c, n), "3,P", 7)      \
    X(65, bool, hasMidiProgramsChanged, (int c), (c), "3", 1)                                  \
    X(66, bool, getMidiKeyName, (int c, MidiKeyName* k), (c, k), "3,P", 1)                     \
    X(67, bool, beginSetProgram, (), (), "", 1)                                                \
    X(68, bool, endSetProgram, (), (), "", 1)                                                  \
    X(69, bool, getSpeakerArrangement, (Arrangement * *i, Arrangement * *o), (i, o), "5,P", 1) \
    X(70, int, getNextShellPlugin, (char* t), (t), "P", 7)                                     \
    X(71, int, startProcess, (), (), "", 7)                                                    \
    X(72, int, stopProcess, (), (), "", 7)                                                     \
    X(73, int, setTotalSampleToProcess, (int n), (n), "5", 7)                                  \
    X(74, bool, setPanLaw, (int t, float g), (t, g), "5,0.5", 1)                               \
    X(75, int, beginLoadBank, (VstPatchChunkInfo * i), (i), "P", 7)                            \
    X(76, int, beginLoadProgram, (VstPatchChunkInfo * i), (i), "P", 7)                         \
    X(77, bool, setProcessPrecision, (int p), (p), "5", 1)                                     \
    X(78, int, getNumMidiInputChannels, (), (), "", 7)                                         \
    X(79, int, getNumMidiOutputChannels, (), (), "", 7)

// Reached with value 0, or through the record's other entry points rather than a request.
#define TOVREL_OTHER_OPERATIONS(X)                                            \
    X(12, void, suspend, (), (), "", 0)                                       \
    X(-1, void, setParameter, (int i, float v), (i, v), "", 0)                \
    X(-1, float, getParameter, (int i), (i), "", 0)                           \
    X(-1, void, process, (float** i, float**, int n), (i, n), "", 0)          \
    X(-1, void, processReplacing, (float** i, float**, int n), (i, n), "", 0) \
    X(-1, void, processDoubleReplacing, (double** i, double**, int n), (i, n), "", 0)
