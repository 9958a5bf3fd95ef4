#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/opcodes.h"
#include "plugin_library.h"
#include "recording_host.h"

namespace tovrel::abi {
namespace {

class TovrelDispatch : public ::testing::Test {
  protected:
    PluginLibrary library{TOVREL_PLUGIN_PATH};
    AEffect* effect = nullptr;
    void SetUp() override {
        RecordingHost::reset();
        ASSERT_TRUE(library.loaded());
        effect = library.entry("VSTPluginMain")(&RecordingHost::callback);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override {
        if (effect != nullptr) {
            EXPECT_EQ(dispatch(effect, effClose), 1);
        }
    }

    // Asks for a text into a canary-filled buffer and checks exactly n + 1 bytes were written.
    std::string text(VstInt32 opcode, VstInt32 index, std::size_t n) {
        std::vector<char> buffer(n + 8, '\x7f');
        dispatch(effect, opcode, index, 0, buffer.data());
        const std::size_t length = std::strlen(buffer.data());
        EXPECT_LE(length, n);
        for (std::size_t i = length; i <= n; ++i) {
            EXPECT_EQ(buffer[i], 0) << "opcode " << opcode;
        }
        EXPECT_EQ(buffer[n + 1], '\x7f') << "opcode " << opcode << " wrote past its bound";
        return buffer.data();
    }
};

TEST_F(TovrelDispatch, FixedAnswers) {
    struct Row {
        VstInt32 opcode;
        VstIntPtr value;
        VstIntPtr answer;
    };
    const Row rows[] = {{effIdentify, 0, 1316373862},
                        {effGetVstVersion, 0, 2400},
                        {effGetPlugCategory, 0, kPlugCategEffect},
                        {effGetVendorVersion, 0, 1000},
                        {effKeysRequired, 0, 1},
                        {effConnectInput, 1, 1},
                        {effSetBlockSizeAndSampleRate, 512, 1},
                        {effGetCurrentMidiProgram, 0, -1},
                        {effGetProgram, 0, 0},
                        {effGetVu, 0, 0},
                        {effEditGetRect, 0, 0},
                        {effEditOpen, 0, 0},
                        {effEditKeyDown, 0, 0},
                        {effSetEditKnobMode, 0, 0},
                        {80, 0, 0},
                        {1000, 0, 0},
                        {-5, 0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(dispatch(effect, row.opcode, 0, row.value), row.answer) << row.opcode;
    }
    char plugAsSend[] = "plugAsSend";
    EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, plugAsSend), 1);
}

TEST_F(TovrelDispatch, TextsAreBoundedCopies) {
    EXPECT_EQ(text(effGetEffectName, 0, 32), "Tovrel");
    EXPECT_EQ(text(effGetVendorString, 0, 64), "fellmarrow");
    EXPECT_EQ(text(effGetProductString, 0, 64), "fellmarrow Tovrel");
    EXPECT_EQ(text(effGetProgramName, 0, 24), "Default");
    const char* names[] = {"Trim", "Hi", "Lo", "Gain", "Dry/Wet"};
    const char* displays[] = {"0.100000", "0.500000", "0.500000", "1.000000", "1.000000"};
    for (VstInt32 i = 0; i < 5; ++i) {
        EXPECT_EQ(text(effGetParamName, i, 8), names[i]);
        EXPECT_EQ(text(effGetParamLabel, i, 8), "");
        EXPECT_EQ(text(effGetParamDisplay, i, 8), displays[i]);
    }
}

TEST_F(TovrelDispatch, RequestsWithNullPointersAnswerTheirRefusal) {
    struct Row {
        VstInt32 opcode;
        VstIntPtr answer;
    };
    // Every request that reads or writes through the host's pointer, handed null.
    const Row rows[] = {{effGetProgramName, 0},
                        {effSetProgramName, 0},
                        {effGetParamLabel, 0},
                        {effGetParamDisplay, 0},
                        {effGetParamName, 0},
                        {effGetChunk, 0},
                        {effSetChunk, 0},
                        {effGetEffectName, 0},
                        {effGetVendorString, 0},
                        {effGetProductString, 0},
                        {effCanDo, -1},
                        {effGetSpeakerArrangement, 0},
                        {effSetSpeakerArrangement, 0},
                        {effString2Parameter, 0},
                        {effGetErrorText, 0},
                        {effGetParameterProperties, 0},
                        {effGetInputProperties, 0},
                        {effGetOutputProperties, 0},
                        {effGetProgramNameIndexed, 0},
                        {effBeginLoadBank, 0},
                        {effBeginLoadProgram, 0}};
    for (const Row& row : rows)
        EXPECT_EQ(dispatch(effect, row.opcode, 0, 0, nullptr), row.answer) << row.opcode;
    // ...and none of them disturbed the settings or the program name.
    EXPECT_EQ(effect->getParameter(effect, 0), 0.1f);
    EXPECT_EQ(effect->getParameter(effect, 4), 1.0f);
    EXPECT_EQ(text(effGetProgramName, 0, 24), "Default");
}

TEST_F(TovrelDispatch, ParametersThroughTheRecord) {
    effect->setParameter(effect, 1, 0.25f);
    EXPECT_EQ(effect->getParameter(effect, 1), 0.25f);
    effect->setParameter(effect, 7, 0.9f);  // no such parameter: ignored
    effect->setParameter(effect, -1, 0.9f);
    EXPECT_EQ(effect->getParameter(effect, 7), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
    EXPECT_EQ(text(effGetParamDisplay, 1, 8), "0.250000");
}

TEST_F(TovrelDispatch, NoiseSeedsThroughTheVendorRequest) {
    std::uint32_t seeds[2] = {2490677913u, 3448036410u}, read[2] = {};
    EXPECT_EQ(dispatch(effect, effVendorSpecific, fourCharCode('t', 'v', 'S', 'd'), 0, seeds), 1);
    EXPECT_EQ(dispatch(effect, effVendorSpecific, fourCharCode('t', 'v', 'S', 'g'), 0, read), 1);
    EXPECT_TRUE(read[0] == seeds[0] && read[1] == seeds[1]);
}

TEST_F(TovrelDispatch, ChunkRoundTrip) {
    void* data = nullptr;
    ASSERT_EQ(dispatch(effect, effGetChunk, 0, 0, &data), 20);
    float values[5];
    std::memcpy(values, data, 20);
    EXPECT_EQ(values[0], 0.1f);
    EXPECT_EQ(values[4], 1.0f);
    values[2] = 0.75f;
    EXPECT_EQ(dispatch(effect, effSetChunk, 1, 20, values), 0);
    EXPECT_EQ(effect->getParameter(effect, 2), 0.75f);
    void* again = nullptr;
    ASSERT_EQ(dispatch(effect, effGetChunk, 1, 0, &again), 20);
    EXPECT_EQ(std::memcmp(again, values, 20), 0);
}

TEST(TovrelLifecycle, FiveHundredCreateCloseCycles) {
    PluginLibrary library{TOVREL_PLUGIN_PATH};
    ASSERT_TRUE(library.loaded());
    VstPluginMainProc entry = library.entry("VSTPluginMain");
    float samples[2][32] = {};
    float* buffers[2] = {samples[0], samples[1]};
    for (int cycle = 0; cycle < 500; ++cycle) {
        AEffect* effect = entry(&RecordingHost::callback);
        ASSERT_NE(effect, nullptr) << cycle;
        dispatch(effect, effOpen);
        dispatch(effect, effMainsChanged, 0, 1);
        effect->processReplacing(effect, buffers, buffers, 32);
        void* data = nullptr;
        dispatch(effect, effGetChunk, 0, 0, &data);
        dispatch(effect, effMainsChanged, 0, 0);
        ASSERT_EQ(dispatch(effect, effClose), 1) << cycle;
    }
}

}  // namespace
}  // namespace tovrel::abi
