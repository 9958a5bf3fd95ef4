// Every request number reaches exactly one operation with the right arguments, and the
// answer is passed through or fixed as the request tables say. Numbers, not names: the
// published numbers are what a host sends.
#include <gtest/gtest.h>

#include "frame_test_support.h"

namespace {

const VstIntPtr kV = reinterpret_cast<VstIntPtr>(kValuePointer);
const VstIntPtr kP = reinterpret_cast<VstIntPtr>(kPointer);

struct Row {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    const char* log;
    VstIntPtr answer;
};

// Every request goes with ptr = P; the effect has 3 programs.
const Row kRows[] = {
    {0, 0, 0, 0, "open()", 0},
    {1, 0, 0, 0, "close()", 0},
    {2, 0, 2, 0, "setProgram(2)", 0},
    {2, 0, 3, 0, "", 0},
    {2, 0, -1, 0, "setProgram(-1)", 0},
    {3, 0, 0, 0, "getProgram()", 7},
    {4, 0, 0, 0, "setProgramName(P)", 0},
    {5, 0, 0, 0, "getProgramName(P)", 0},
    {6, 4, 0, 0, "getParameterLabel(4,P)", 0},
    {7, 4, 0, 0, "getParameterDisplay(4,P)", 0},
    {8, 4, 0, 0, "getParameterName(4,P)", 0},
    {9, 0, 0, 0, "getVu()", 16383},
    {10, 0, 0, 48000.0f, "setSampleRate(48000)", 0},
    {11, 0, 512, 0, "setBlockSize(512)", 0},
    {12, 0, 0, 0, "suspend()", 0},
    {12, 0, 1, 0, "resume()", 0},
    {12, 0, -1, 0, "resume()", 0},
    {22, 0, 0, 0, "", 1316373862},
    {23, 0, 0, 0, "getChunk(P,0)", 7},
    {23, 7, 0, 0, "getChunk(P,1)", 7},
    {24, 1, 20, 0, "setChunk(P,20,1)", 7},
    {25, 0, 0, 0, "processEvents(P)", 7},
    {26, 3, 0, 0, "canParameterBeAutomated(3)", 1},
    {27, 3, 0, 0, "string2parameter(3,P)", 1},
    {28, 0, 0, 0, "getNumCategories()", 7},
    {29, 5, 2, 0, "getProgramNameIndexed(2,5,P)", 1},
    {30, 3, 0, 0, "copyProgram(3)", 1},
    {31, 1, 9, 0, "inputConnected(1,1)", 1},
    {32, 1, 0, 0, "outputConnected(1,0)", 1},
    {33, 1, 0, 0, "getInputProperties(1,P)", 1},
    {34, 1, 0, 0, "getOutputProperties(1,P)", 1},
    {35, 0, 0, 0, "getPlugCategory()", kPlugCategEffect},
    {36, 0, 0, 0, "reportCurrentPosition()", 7},
    {37, 0, 0, 0, "reportDestinationBuffer()", kP},
    {38, 1, 4, 0, "offlineNotify(P,4,1)", 1},
    {39, 0, 4, 0, "offlinePrepare(P,4)", 1},
    {40, 0, 4, 0, "offlineRun(P,4)", 1},
    {41, 0, 0, 0, "processVariableIo(P)", 1},
    {42, 0, kV, 0, "setSpeakerArrangement(V,P)", 1},
    {43, 0, 256, 96000.0f, "setBlockSizeAndSampleRate(256,96000)", 1},
    {44, 0, 5, 0, "setBypass(1)", 1},
    {45, 0, 0, 0, "getEffectName(P)", 1},
    {46, 0, 0, 0, "getErrorText(P)", 1},
    {47, 0, 0, 0, "getVendorString(P)", 1},
    {48, 0, 0, 0, "getProductString(P)", 1},
    {49, 0, 0, 0, "getVendorVersion()", 7},
    {50, 2, 3, 0.5f, "vendorSpecific(2,3,P,0.5)", 7},
    {51, 0, 0, 0, "canDo(P)", -1},
    {52, 0, 0, 0, "getGetTailSize()", 7},
    {53, 0, 0, 0, "fxIdle()", 7},
    {54, 0, 0, 0, "getIcon()", kP},
    {55, 10, 20, 0, "setViewPosition(10,20)", 1},
    {56, 2, 0, 0, "getParameterProperties(2,P)", 1},
    {57, 0, 0, 0, "keysRequired()", 1},
    {58, 0, 0, 0, "", 2400},
    {62, 1, 0, 0, "getMidiProgramName(1,P)", 7},
    {63, 1, 0, 0, "getCurrentMidiProgram(1,P)", 7},
    {64, 1, 0, 0, "getMidiProgramCategory(1,P)", 7},
    {65, 1, 0, 0, "hasMidiProgramsChanged(1)", 1},
    {66, 1, 0, 0, "getMidiKeyName(1,P)", 1},
    {67, 0, 0, 0, "beginSetProgram()", 1},
    {68, 0, 0, 0, "endSetProgram()", 1},
    {69, 0, kV, 0, "getSpeakerArrangement(V,P)", 1},
    {70, 0, 0, 0, "getNextShellPlugin(P)", 7},
    {71, 0, 0, 0, "startProcess()", 7},
    {72, 0, 0, 0, "stopProcess()", 7},
    {73, 0, 4410, 0, "setTotalSampleToProcess(4410)", 4410},
    {74, 0, 1, 0.75f, "setPanLaw(1,0.75)", 1},
    {75, 0, 0, 0, "beginLoadBank(P)", 7},
    {76, 0, 0, 0, "beginLoadProgram(P)", 7},
    {77, 0, 1, 0, "setProcessPrecision(1)", 1},
    {78, 0, 0, 0, "getNumMidiInputChannels()", 7},
    {79, 0, 0, 0, "getNumMidiOutputChannels()", 7},
    // Unknown numbers, and editor requests without an editor: nothing called, answer 0.
    {80, 0, 0, 0, "", 0},
    {1000, 0, 0, 0, "", 0},
    {-5, 0, 0, 0, "", 0},
    {13, 0, 0, 0, "", 0},
    {14, 0, 0, 0, "", 0},
    {17, 1, 2, 0, "", 0},
    {59, 97, 1, 0, "", 0},
    {61, 0, 2, 0, "", 0},
};

// With an editor: 0x1234 leaves 0x34 in the virtual-key byte; 258.9 truncates to 258, whose
// low byte is 2.
const Row kEditorRows[] = {
    {13, 0, 0, 0, "getRect(P)", 1},
    {14, 0, 0, 0, "editorOpen(P)", 1},
    {15, 0, 0, 0, "editorClose()", 0},
    {16, 0, 0, 0, "draw(P)", 0},
    {17, 3, 4, 0, "mouse(3,4)", 7},
    {18, 0, 65, 0, "key(65)", 7},
    {19, 0, 0, 0, "idle()", 0},
    {20, 0, 0, 0, "top()", 0},
    {21, 0, 0, 0, "sleep()", 0},
    {59, 97, 0x1234, 258.9f, "onKeyDown(97,52,2)", 1},
    {60, 97, 0x1234, 258.9f, "onKeyUp(97,52,2)", 1},
    {61, 0, 2, 0, "setKnobMode(2)", 1},
};

template <std::size_t N>
void expectRows(RecordingEffect& effect, const Row (&rows)[N]) {
    for (const Row& row : rows) {
        SCOPED_TRACE("opcode " + std::to_string(row.opcode) + " value " +
                     std::to_string(row.value));
        // Straight to the virtual dispatcher: through the record, close would free the effect.
        EXPECT_EQ(effect.dispatcher(row.opcode, row.index, row.value, kPointer, row.opt),
                  row.answer);
        EXPECT_EQ(effect.log.take(), row.log);
    }
}

TEST(Dispatch, EachRequestMakesOneCallWithItsArgumentsAndAnswer) {
    RecordingEffect effect;
    expectRows(effect, kRows);
    effect.setEditor(new RecordingEditor(&effect.log));
    expectRows(effect, kEditorRows);
}

TEST(Dispatch, AnswersThatDependOnTheOperation) {
    RecordingEffect effect(0);
    // With no programs, -1 still passes the signed test and 0 does not.
    effect.dispatcher(2, 0, 0, nullptr, 0);
    effect.dispatcher(2, 0, -1, nullptr, 0);
    EXPECT_EQ(effect.log.take(), "setProgram(-1)");
    effect.wantsKeys = true;
    EXPECT_EQ(effect.dispatcher(57, 0, 0, nullptr, 0), 0);
    effect.vu = -0.25f;  // -8191.75 truncates toward zero
    EXPECT_EQ(effect.dispatcher(9, 0, 0, nullptr, 0), -8191);
    effect.vu = 1e30f;  // out of range stays defined
    EXPECT_EQ(effect.dispatcher(9, 0, 0, nullptr, 0), INT32_MAX);
}

TEST(Dispatch, DefaultsAnswerAsDocumentedAndTolerateNullPointers) {
    BareEffect effect;
    const std::pair<VstInt32, VstIntPtr> answers[] = {
        {9, 0}, {57, 1}, {58, 2400}, {63, -1}, {26, 1}, {28, 1}, {23, 0}, {35, 0}, {45, 0}, {51, 0},
    };
    for (const auto& [opcode, answer] : answers) {
        EXPECT_EQ(effect.dispatcher(opcode, 0, 0, nullptr, 0), answer) << opcode;
    }
    for (VstInt32 opcode : {5, 6, 7, 8, 69})
        EXPECT_EQ(effect.dispatcher(opcode, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(effect.dispatcher(73, 0, 123, nullptr, 0), 123);
    char text[4] = "abc";
    effect.dispatcher(8, 0, 0, text, 0);
    EXPECT_STREQ(text, "");
    auto* in = reinterpret_cast<VstSpeakerArrangement*>(kPointer);
    VstSpeakerArrangement* out = in;
    EXPECT_EQ(effect.dispatcher(69, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

}  // namespace
