// Test doubles for the frame: a host callback that records every request, and effects that
// expose the frame's members and log which virtual operation received which arguments.
#pragma once

#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "frame/audio_effect_x.h"
#include "frame/editor.h"

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

// Plain function pointers carry no context, so the recording lives in globals.
struct RecordingHost {
    static std::vector<HostCall> calls;
    static VstIntPtr answer;
    static void reset(VstIntPtr newAnswer = 0) {
        calls.clear();
        answer = newAnswer;
    }
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt) {
        calls.push_back({effect, opcode, index, value, ptr, opt});
        return answer;
    }
};

// What the test factory does when the entry point asks it for an instance.
enum class FactoryMode { Build, ReturnNull, Throw };
extern FactoryMode factoryMode;
extern int factoryCalls;

// Distinct addresses the doubles recognise in their logs: "P" and "V".
extern char kPointer[8];
extern char kValuePointer[8];

template <typename T>
std::string describe(T v) {
    if constexpr (std::is_pointer_v<T>) {
        const void* p = v;
        return p == nullptr ? "null" : p == kPointer ? "P" : p == kValuePointer ? "V" : "?";
    } else if constexpr (std::is_same_v<T, bool>) {
        return v ? "1" : "0";
    } else {
        std::ostringstream out;
        out << v;
        return out.str();
    }
}

// Collects "name(arg,arg)" entries.
class CallLog {
  public:
    template <typename R, typename... Args>
    R note(R result, const char* name, Args... args) {
        std::string entry = std::string(name) + "(";
        const char* separator = "";
        ((entry += separator + describe(args), separator = ","), ...);
        (void)separator;  // unused when there are no arguments
        entries.push_back(entry + ")");
        return result;
    }
    std::string take() {
        std::string joined;
        for (const std::string& entry : entries) joined += (joined.empty() ? "" : ";") + entry;
        entries.clear();
        return joined;
    }

  private:
    std::vector<std::string> entries;
};

// The smallest concrete effect, with the frame's protected state readable.
class BareEffect : public AudioEffectX {
  public:
    explicit BareEffect(audioMasterCallback host = nullptr, VstInt32 programs = 0)
        : AudioEffectX(host, programs, 5) {}
    ~BareEffect() override { ++destroyed; }
    void processReplacing(float**, float**, VstInt32) override {}

    using AudioEffect::effectRecord;
    using AudioEffect::hostCallback;
    static int destroyed;
};

// Logs every operation the dispatchers reach under its own name. Integer operations answer
// 7, true/false ones true and pointer ones kPointer, so a pass-through answer is visible.
class RecordingEffect : public BareEffect {
  public:
    explicit RecordingEffect(VstInt32 programs = 3) : BareEffect(nullptr, programs) {}
    CallLog log;
    float vu = 0.5f;
    bool wantsKeys = false;

    template <typename R, typename... Args>
    R rec(R result, const char* name, Args... args) {
        return log.note(result, name, args...);
    }
    template <typename... Args>
    void rec(const char* name, Args... args) {
        log.note(0, name, args...);
    }

    void open() override { rec(__func__); }
    void close() override { rec(__func__); }
    void suspend() override { rec(__func__); }
    void resume() override { rec(__func__); }
    void setSampleRate(float r) override { rec(__func__, r); }
    void setBlockSize(VstInt32 n) override { rec(__func__, n); }
    void process(float** in, float**, VstInt32 n) override { rec(__func__, in, n); }
    void processReplacing(float** in, float**, VstInt32 n) override { rec(__func__, in, n); }
    void processDoubleReplacing(double** in, double**, VstInt32 n) override {
        rec(__func__, in, n);
    }
    void setParameter(VstInt32 i, float v) override { rec(__func__, i, v); }
    float getParameter(VstInt32 i) override { return rec(0.75f, __func__, i); }
    VstInt32 getProgram() override { return rec(7, __func__); }
    void setProgram(VstInt32 n) override { rec(__func__, n); }
    void setProgramName(char* t) override { rec(__func__, t); }
    void getProgramName(char* t) override { rec(__func__, t); }
    void getParameterLabel(VstInt32 i, char* t) override { rec(__func__, i, t); }
    void getParameterDisplay(VstInt32 i, char* t) override { rec(__func__, i, t); }
    void getParameterName(VstInt32 i, char* t) override { rec(__func__, i, t); }
    VstInt32 getChunk(void** d, bool b) override { return rec(7, __func__, d, b); }
    VstInt32 setChunk(void* d, VstInt32 n, bool b) override { return rec(7, __func__, d, n, b); }
    float getVu() override { return rec(vu, __func__); }

    VstInt32 processEvents(VstEvents* e) override { return rec(7, __func__, e); }
    bool canParameterBeAutomated(VstInt32 i) override { return rec(true, __func__, i); }
    bool string2parameter(VstInt32 i, char* t) override { return rec(true, __func__, i, t); }
    VstInt32 getNumCategories() override { return rec(7, __func__); }
    bool getProgramNameIndexed(VstInt32 c, VstInt32 i, char* t) override {
        return rec(true, __func__, c, i, t);
    }
    bool copyProgram(VstInt32 i) override { return rec(true, __func__, i); }
    void inputConnected(VstInt32 i, bool b) override { rec(__func__, i, b); }
    void outputConnected(VstInt32 i, bool b) override { rec(__func__, i, b); }
    bool getInputProperties(VstInt32 i, VstPinProperties* p) override {
        return rec(true, __func__, i, p);
    }
    bool getOutputProperties(VstInt32 i, VstPinProperties* p) override {
        return rec(true, __func__, i, p);
    }
    VstPlugCategory getPlugCategory() override { return rec(kPlugCategEffect, __func__); }
    VstInt32 reportCurrentPosition() override { return rec(7, __func__); }
    float* reportDestinationBuffer() override {
        return rec(static_cast<float*>(static_cast<void*>(kPointer)), __func__);
    }
    bool offlineNotify(VstAudioFile* f, VstInt32 n, bool b) override {
        return rec(true, __func__, f, n, b);
    }
    bool offlinePrepare(VstOfflineTask* t, VstInt32 n) override {
        return rec(true, __func__, t, n);
    }
    bool offlineRun(VstOfflineTask* t, VstInt32 n) override { return rec(true, __func__, t, n); }
    bool processVariableIo(VstVariableIo* v) override { return rec(true, __func__, v); }
    bool setSpeakerArrangement(VstSpeakerArrangement* i, VstSpeakerArrangement* o) override {
        return rec(true, __func__, i, o);
    }
    void setBlockSizeAndSampleRate(VstInt32 n, float r) override { rec(__func__, n, r); }
    bool setBypass(bool b) override { return rec(true, __func__, b); }
    bool getEffectName(char* t) override { return rec(true, __func__, t); }
    bool getErrorText(char* t) override { return rec(true, __func__, t); }
    bool getVendorString(char* t) override { return rec(true, __func__, t); }
    bool getProductString(char* t) override { return rec(true, __func__, t); }
    VstInt32 getVendorVersion() override { return rec(7, __func__); }
    VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void* p, float f) override {
        return rec(VstIntPtr{7}, __func__, a, b, p, f);
    }
    VstInt32 canDo(char* t) override { return rec(-1, __func__, t); }
    VstInt32 getGetTailSize() override { return rec(7, __func__); }
    VstInt32 fxIdle() override { return rec(7, __func__); }
    void* getIcon() override { return rec(static_cast<void*>(kPointer), __func__); }
    bool setViewPosition(VstInt32 x, VstInt32 y) override { return rec(true, __func__, x, y); }
    bool getParameterProperties(VstInt32 i, VstParameterProperties* p) override {
        return rec(true, __func__, i, p);
    }
    bool keysRequired() override { return rec(wantsKeys, __func__); }
    VstInt32 getMidiProgramName(VstInt32 i, MidiProgramName* p) override {
        return rec(7, __func__, i, p);
    }
    VstInt32 getCurrentMidiProgram(VstInt32 i, MidiProgramName* p) override {
        return rec(7, __func__, i, p);
    }
    VstInt32 getMidiProgramCategory(VstInt32 i, MidiProgramCategory* p) override {
        return rec(7, __func__, i, p);
    }
    bool hasMidiProgramsChanged(VstInt32 i) override { return rec(true, __func__, i); }
    bool getMidiKeyName(VstInt32 i, MidiKeyName* p) override { return rec(true, __func__, i, p); }
    bool beginSetProgram() override { return rec(true, __func__); }
    bool endSetProgram() override { return rec(true, __func__); }
    bool getSpeakerArrangement(VstSpeakerArrangement** i, VstSpeakerArrangement** o) override {
        return rec(true, __func__, i, o);
    }
    VstInt32 getNextShellPlugin(char* t) override { return rec(7, __func__, t); }
    VstInt32 startProcess() override { return rec(7, __func__); }
    VstInt32 stopProcess() override { return rec(7, __func__); }
    VstInt32 setTotalSampleToProcess(VstInt32 n) override { return rec(n, __func__, n); }
    bool setPanLaw(VstInt32 n, float g) override { return rec(true, __func__, n, g); }
    VstInt32 beginLoadBank(VstPatchChunkInfo* p) override { return rec(7, __func__, p); }
    VstInt32 beginLoadProgram(VstPatchChunkInfo* p) override { return rec(7, __func__, p); }
    bool setProcessPrecision(VstInt32 n) override { return rec(true, __func__, n); }
    VstInt32 getNumMidiInputChannels() override { return rec(7, __func__); }
    VstInt32 getNumMidiOutputChannels() override { return rec(7, __func__); }
};

// An editor that logs into its effect's log.
class RecordingEditor : public AEffEditor {
  public:
    explicit RecordingEditor(CallLog* sink) : log(sink) {}
    // Counted, not logged: the effect's log is gone by the time the frame destroys us.
    ~RecordingEditor() override { ++destroyed; }
    bool getRect(ERect** r) override { return log->note(true, __func__, r); }
    bool open(void* window) override { return log->note(true, "editorOpen", window); }
    void close() override { log->note(0, "editorClose"); }
    void idle() override { log->note(0, __func__); }
    void draw(ERect* r) override { log->note(0, __func__, r); }
    VstInt32 mouse(VstInt32 x, VstInt32 y) override { return log->note(7, __func__, x, y); }
    VstInt32 key(VstInt32 code) override { return log->note(7, __func__, code); }
    void top() override { log->note(0, __func__); }
    void sleep() override { log->note(0, __func__); }
    bool onKeyDown(VstKeyCode& k) override { return noteKey(__func__, k); }
    bool onKeyUp(VstKeyCode& k) override { return noteKey(__func__, k); }
    bool setKnobMode(VstInt32 mode) override { return log->note(true, __func__, mode); }
    static int destroyed;

  private:
    bool noteKey(const char* name, const VstKeyCode& k) {
        return log->note(true, name, k.character, int{k.virt}, int{k.modifier});
    }
    CallLog* log;
};
