// A wrapper sends one request with its arguments in the fixed places, reads the answer in its
// fixed way, and answers its default without a host. The rows sample the wrappers so that each
// way of placing arguments and reading answers appears, with the two operations that call the
// effect before the host.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <tuple>

#include "frame_test_support.h"

namespace {

// Name, call, the host's answer (also what the effect's own operations answer), the journal
// with a host (without one, the same less the host's entries), result, result without a host.
using Row = std::tuple<const char*, std::function<VstIntPtr(AudioEffectX&)>, VstIntPtr, std::string,
                       VstIntPtr, VstIntPtr>;

// Pointer and number results alike read as one integer.
// clang-format off
#define CALL(expr, ...) Row{#expr, [](AudioEffectX& e) { return (VstIntPtr)(expr); }, __VA_ARGS__}
// clang-format on

const Row kRows[] = {
    CALL(e.getMasterVersion(), 0, "host(E,1,0,0,0,0)", 1, 1),
    CALL(e.isInputConnected(3), 0, "host(E,4,3,0,0,0)", 1, 1),
    CALL(e.isOutputConnected(1), 1, "host(E,4,1,1,0,0)", 0, 1),
    CALL(e.sendVstEventsToHost(sentinel<VstEvents>()), 1, "host(E,8,0,0,P,0)", 1, 0),
    CALL(e.sendVstEventsToHost(sentinel<VstEvents>()), 2, "host(E,8,0,0,P,0)", 0, 0),
    CALL(e.sizeWindow(640, 480), 1, "host(E,15,640,480,0,0)", 1, 0),
    CALL(e.updateSampleRate(), 48000, "host(E,16,0,0,0,0)", 48000, 44100),
    CALL(e.updateSampleRate(), 0, "host(E,16,0,0,0,0)", 44100, 44100),
    CALL(e.updateBlockSize(), -64, "host(E,17,0,0,0,0)", 1024, 1024),
    CALL(e.updateBlockSize(), 256, "host(E,17,0,0,0,0)", 256, 1024),
    CALL(e.getPreviousPlug(5), 5, "host(E,20,0,0,0,0)", 5, 0),  // the pin is not sent
    CALL(e.hostVendorSpecific(1, 2, kPointer, 0.5f), 99, "host(E,35,1,2,P,0.5)", 99, 0),
    CALL(e.canHostDo(kPointer), -1, "host(E,37,0,0,P,0)", 1, 0),
    // A null selector or path never reaches the host.
    CALL(e.openFileSelector(nullptr), 1, "", 0, 0),
    CALL(e.closeFileSelector(nullptr), 1, "", 0, 0),
    CALL(e.getChunkFile(nullptr), 1, "", 0, 0),
    // The parameter is set before the host hears of it.
    CALL((e.setParameterAutomated(3, 0.5f), 0), 0, "setParameter(3,0.5);host(E,0,3,0,0,0.5)", 0, 0),
    // Resume asks for MIDI only when canDo answers exactly 1; a synth is not asked at all.
    CALL((e.AudioEffectX::resume(), 0), 2, "canDo(receiveVstMidiEvent)", 0, 0),
    CALL((e.AudioEffectX::resume(), 0), 1, "canDo(receiveVstMidiEvent);host(E,6,0,1,0,0)", 0, 0),
    CALL((e.isSynth(true), e.AudioEffectX::resume(), 0), 0, "host(E,6,0,1,0,0)", 0, 0),
};

const std::regex kHost(";?host\\([^)]*\\)");  // a host entry in a journal

TEST(HostCalls, EachWrapperSendsOneRequestAndReadsItsAnswer) {
    for (const auto& [name, call, answer, calls, result, resultWithoutHost] : kRows) {
        for (audioMasterCallback host : {&recordingHost, audioMasterCallback{}}) {
            RecordingEffect effect(host);
            hostAnswer = answer;
            effect.reply = static_cast<double>(answer);
            takeJournal();
            EXPECT_EQ(call(effect), host ? result : resultWithoutHost) << name;
            EXPECT_EQ(takeJournal(), host ? calls : std::regex_replace(calls, kHost, "")) << name;
        }
    }
}

}  // namespace
