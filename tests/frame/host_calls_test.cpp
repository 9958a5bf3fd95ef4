// Each wrapper sends one request with its arguments in the fixed places, reads the answer in
// its fixed way, and answers its default without a host.
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

#include "frame/can_dos.h"
#include "frame/opcodes.h"
#include "frame_test_support.h"

namespace {

template <typename T>
VstIntPtr asInt(T result) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<VstIntPtr>(result);
    } else {
        return static_cast<VstIntPtr>(result);
    }
}

struct Row {
    const char* name;
    std::function<VstIntPtr(AudioEffectX&)> call;
    HostCall expected;  // the effect argument is always checked against the effect's record
    VstIntPtr hostAnswer;
    VstIntPtr result;
    VstIntPtr resultWithoutHost;
};

// CALL(expression on e, opcode, index, value, ptr, opt, host answer, result, result without host)
#define CALL(expr, op, index, value, ptr, opt, ...)                                               \
    {                                                                                             \
#expr, [](AudioEffectX &                                                                  \
                  e) { return asInt(expr); }, {nullptr, op, index, value, ptr, opt }, __VA_ARGS__ \
    }
#define VOID_CALL(expr, op, index, value, ptr, opt) \
    CALL((expr, 0), op, index, value, ptr, opt, 1, 0, 0)

auto* const kTask = reinterpret_cast<VstOfflineTask*>(kPointer);
auto* const kFiles = reinterpret_cast<VstAudioFile*>(kPointer);
auto* const kEvents = reinterpret_cast<VstEvents*>(kPointer);
auto* const kWindow = reinterpret_cast<VstWindow*>(kPointer);
auto* const kSelector = reinterpret_cast<VstFileSelect*>(kPointer);
const VstIntPtr kP = reinterpret_cast<VstIntPtr>(kPointer);

const Row kRows[] = {
    CALL(e.getMasterVersion(), 1, 0, 0, nullptr, 0, 0, 1, 1),
    CALL(e.getMasterVersion(), 1, 0, 0, nullptr, 0, 2400, 2400, 1),
    CALL(e.getCurrentUniqueId(), 2, 0, 0, nullptr, 0, 77, 77, 0),
    VOID_CALL(e.masterIdle(), 3, 0, 0, nullptr, 0),
    CALL(e.isInputConnected(3), 4, 3, 0, nullptr, 0, 0, 1, 1),
    CALL(e.isOutputConnected(1), 4, 1, 1, nullptr, 0, 1, 0, 1),
    VOID_CALL(e.wantEvents(5), 6, 0, 5, nullptr, 0),
    CALL(e.getTimeInfo(9), 7, 0, 9, nullptr, 0, kP, kP, 0),
    CALL(e.sendVstEventsToHost(kEvents), 8, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.sendVstEventsToHost(kEvents), 8, 0, 0, kPointer, 0, 2, 0, 0),
    CALL(e.tempoAt(100), 10, 0, 100, nullptr, 0, 1200000, 1200000, 0),
    CALL(e.getNumAutomatableParameters(), 11, 0, 0, nullptr, 0, 5, 5, 0),
    CALL(e.getParameterQuantization(), 12, 0, 0, nullptr, 0, 6, 6, 0),
    CALL(e.ioChanged(), 13, 0, 0, nullptr, 0, -1, 1, 0),
    CALL(e.needIdle(), 14, 0, 0, nullptr, 0, 3, 1, 0),
    CALL(e.sizeWindow(640, 480), 15, 640, 480, nullptr, 0, 1, 1, 0),
    CALL(e.updateSampleRate(), 16, 0, 0, nullptr, 0, 48000, 48000, 44100),
    CALL(e.updateSampleRate(), 16, 0, 0, nullptr, 0, 0, 44100, 44100),
    CALL(e.updateBlockSize(), 17, 0, 0, nullptr, 0, -64, 1024, 1024),
    CALL(e.updateBlockSize(), 17, 0, 0, nullptr, 0, 256, 256, 1024),
    CALL(e.getInputLatency(), 18, 0, 0, nullptr, 0, 12, 12, 0),
    CALL(e.getOutputLatency(), 19, 0, 0, nullptr, 0, 13, 13, 0),
    CALL(e.getPreviousPlug(5), 20, 0, 0, nullptr, 0, kP, kP, 0),  // the pin is not sent
    CALL(e.getNextPlug(5), 21, 0, 0, nullptr, 0, kP, kP, 0),
    CALL(e.willProcessReplacing(), 22, 0, 0, nullptr, 0, 2, 2, 0),
    CALL(e.getCurrentProcessLevel(), 23, 0, 0, nullptr, 0, 2, 2, 0),
    CALL(e.getAutomationState(), 24, 0, 0, nullptr, 0, 3, 3, 0),
    CALL(e.offlineStart(kFiles, 3, 2), 25, 2, 3, kPointer, 0, 7, 1, 0),
    CALL(e.offlineRead(kTask, kVstOfflinePeaks, false), 26, 0, 1, kPointer, 0, 0, 0, 0),
    CALL(e.offlineRead(kTask, kVstOfflineAudio), 26, 1, 0, kPointer, 0, 1, 1, 0),
    CALL(e.offlineWrite(kTask, kVstOfflineMarker), 27, 0, 3, kPointer, 0, 1, 1, 0),
    CALL(e.offlineGetCurrentPass(), 28, 0, 0, nullptr, 0, 4, 1, 0),
    CALL(e.offlineGetCurrentMetaPass(), 29, 0, 0, nullptr, 0, 4, 1, 0),
    VOID_CALL(e.setOutputSamplerate(96000.0f), 30, 0, 0, nullptr, 96000.0f),
    CALL(e.getOutputSpeakerArrangement(), 31, 0, 0, nullptr, 0, kP, kP, 0),
    CALL(e.getHostVendorString(kPointer), 32, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.getHostProductString(kPointer), 33, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.getHostVendorVersion(), 34, 0, 0, nullptr, 0, 1100, 1100, 0),
    CALL(e.hostVendorSpecific(1, 2, kPointer, 0.5f), 35, 1, 2, kPointer, 0.5f, 99, 99, 0),
    CALL(e.canHostDo(kPointer), 37, 0, 0, kPointer, 0, -1, 1, 0),
    CALL(e.getHostLanguage(), 38, 0, 0, nullptr, 0, 2, 2, 0),
    CALL(e.openWindow(kWindow), 39, 0, 0, kPointer, 0, kP, kP, 0),
    CALL(e.closeWindow(kWindow), 40, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.getDirectory(), 41, 0, 0, nullptr, 0, kP, kP, 0),
    CALL(e.updateDisplay(), 42, 0, 0, nullptr, 0, 1, 1, 0),
    CALL(e.beginEdit(3), 43, 3, 0, nullptr, 0, 1, 1, 0),
    CALL(e.endEdit(3), 44, 3, 0, nullptr, 0, 0, 0, 0),
    CALL(e.openFileSelector(kSelector), 45, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.closeFileSelector(kSelector), 46, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.getChunkFile(kPointer), 48, 0, 0, kPointer, 0, 1, 1, 0),
    CALL(e.getInputSpeakerArrangement(), 49, 0, 0, nullptr, 0, kP, kP, 0),
};

TEST(HostCalls, EachWrapperSendsOneRequestAndReadsItsAnswer) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        BareEffect effect(&RecordingHost::callback);
        RecordingHost::reset(row.hostAnswer);
        EXPECT_EQ(row.call(effect), row.result);
        ASSERT_EQ(RecordingHost::calls.size(), 1u);
        const HostCall& call = RecordingHost::calls[0];
        EXPECT_EQ(call.effect, effect.getAeffect());
        EXPECT_EQ(call.opcode, row.expected.opcode);
        EXPECT_EQ(call.index, row.expected.index);
        EXPECT_EQ(call.value, row.expected.value);
        EXPECT_EQ(call.ptr, row.expected.ptr);
        EXPECT_EQ(call.opt, row.expected.opt);
    }
}

TEST(HostCalls, WithoutAHostEachWrapperAnswersItsDefault) {
    for (const Row& row : kRows) {
        BareEffect effect;
        EXPECT_EQ(row.call(effect), row.resultWithoutHost) << row.name;
    }
}

TEST(HostCalls, NullSelectorsAndPathsNeverReachTheHost) {
    BareEffect effect(&RecordingHost::callback);
    RecordingHost::reset(1);
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST(HostCalls, AutomationSetsTheParameterBeforeTellingTheHost) {
    RecordingEffect quiet;
    quiet.setParameterAutomated(3, 0.25f);
    EXPECT_EQ(quiet.log.take(), "setParameter(3,0.25)");

    RecordingEffect effect;
    effect.hostCallback = &RecordingHost::callback;
    RecordingHost::reset();
    effect.setParameterAutomated(3, 0.25f);
    EXPECT_EQ(effect.log.take(), "setParameter(3,0.25)");
    ASSERT_EQ(RecordingHost::calls.size(), 1u);
    EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(RecordingHost::calls[0].index, 3);
    EXPECT_EQ(RecordingHost::calls[0].opt, 0.25f);
}

class MidiEffect : public BareEffect {
  public:
    explicit MidiEffect(VstInt32 reply) : BareEffect(&RecordingHost::callback), answer(reply) {}
    VstInt32 canDo(char* text) override {
        asked = text;
        return answer;
    }
    std::string asked;
    VstInt32 answer;
};

TEST(HostCalls, ResumeAsksForEventsOnlyWhenTheEffectWantsMidi) {
    for (VstInt32 answer : {0, -1, 2}) {
        MidiEffect effect(answer);
        RecordingHost::reset();
        effect.resume();
        EXPECT_EQ(effect.asked, "receiveVstMidiEvent");
        EXPECT_TRUE(RecordingHost::calls.empty()) << answer;
    }
    MidiEffect listener(1);
    MidiEffect synth(0);
    synth.isSynth(true);
    for (MidiEffect* effect : {&listener, &synth}) {
        RecordingHost::reset();
        effect->resume();
        ASSERT_EQ(RecordingHost::calls.size(), 1u);
        EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterWantMidi);
        EXPECT_EQ(RecordingHost::calls[0].value, 1);
    }
    EXPECT_EQ(synth.asked, "");  // a synth is not asked
}

TEST(HostCalls, CapabilityTextsAreSharedWhereTheyAgree) {
    EXPECT_STREQ(HostCanDos::canDoSendVstMidiEventFlagIsRealtime, "sendVstMidiEventFlagIsRealtime");
    EXPECT_STREQ(PlugCanDos::canDoReceiveVstTimeInfo, "receiveVstTimeInfo");
    EXPECT_STREQ(PlugCanDos::canDoBypass, "bypass");
    EXPECT_EQ(HostCanDos::canDoSendVstEvents, PlugCanDos::canDoSendVstEvents);
    EXPECT_EQ(HostCanDos::canDoSendVstMidiEvent, PlugCanDos::canDoSendVstMidiEvent);
    EXPECT_EQ(HostCanDos::canDoReceiveVstEvents, PlugCanDos::canDoReceiveVstEvents);
    EXPECT_EQ(HostCanDos::canDoReceiveVstMidiEvent, PlugCanDos::canDoReceiveVstMidiEvent);
    EXPECT_EQ(HostCanDos::canDoOffline, PlugCanDos::canDoOffline);
    EXPECT_STREQ(HostCanDos::canDoOffline, "offline");
}

}  // namespace
