#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "frame/opcodes.h"
#include "plugin_library.h"
#include "recording_host.h"

namespace tovrel::abi {
namespace {

class TovrelLoad : public ::testing::Test {
  protected:
    PluginLibrary library{TOVREL_PLUGIN_PATH};
    void SetUp() override {
        ASSERT_TRUE(library.loaded()) << TOVREL_PLUGIN_PATH;
        RecordingHost::reset();
    }
};

void expectConfiguredRecord(const AEffect* record) {
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 1450406992);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->processDoubleReplacing, nullptr);
    EXPECT_EQ(record->numPrograms, 0);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 16 | 32 | 4096);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_NE(record->object, nullptr);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->uniqueID, fourCharCode('t', 'v', 'r', 'l'));
    EXPECT_EQ(record->version, 1);
    const char zeros[sizeof record->future] = {};
    EXPECT_EQ(std::memcmp(record->future, zeros, sizeof zeros), 0);
}

TEST_F(TovrelLoad, EntryAsksTheVersionOnceWithoutARecord) {
    for (const char* name : {"VSTPluginMain", "main_macho"}) {
        RecordingHost::reset();
        VstPluginMainProc entry = library.entry(name);
        ASSERT_NE(entry, nullptr) << name;
        AEffect* record = entry(&RecordingHost::callback);
        expectConfiguredRecord(record);
        ASSERT_EQ(RecordingHost::calls.size(), 1u) << name;
        const HostCall& call = RecordingHost::calls[0];
        EXPECT_EQ(call.effect, nullptr);
        EXPECT_EQ(call.opcode, audioMasterVersion);
        EXPECT_EQ(call.index, 0);
        EXPECT_EQ(call.value, 0);
        EXPECT_EQ(call.ptr, nullptr);
        EXPECT_EQ(call.opt, 0.0f);
        EXPECT_EQ(dispatch(record, effClose), 1);
    }
}

TEST_F(TovrelLoad, HostWithoutAVersionGetsNoRecord) {
    RecordingHost::reset(0);
    EXPECT_EQ(library.entry("VSTPluginMain")(&RecordingHost::callback), nullptr);
    EXPECT_EQ(RecordingHost::calls.size(), 1u);
}

TEST_F(TovrelLoad, NullCallbackStillGivesAWorkingInstance) {
    AEffect* record = library.entry("VSTPluginMain")(nullptr);
    expectConfiguredRecord(record);
    EXPECT_EQ(dispatch(record, effIdentify), 1316373862);
    EXPECT_EQ(dispatch(record, effClose), 1);
}

TEST_F(TovrelLoad, ProcessesThroughTheRecordInBothPrecisions) {
    AEffect* record = library.entry("VSTPluginMain")(&RecordingHost::callback);
    ASSERT_NE(record, nullptr);
    dispatch(record, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(record, effSetBlockSize, 0, 256);
    dispatch(record, effMainsChanged, 0, 1);
    float left[256], right[256];
    for (int i = 0; i < 256; ++i) left[i] = right[i] = 0.5f * static_cast<float>((i % 32) < 16);
    float* buffers[2] = {left, right};
    record->processReplacing(record, buffers, buffers, 256);
    double dleft[256] = {}, dright[256] = {};
    double* dbuffers[2] = {dleft, dright};
    record->processDoubleReplacing(record, dbuffers, dbuffers, 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
        EXPECT_TRUE(std::isfinite(dleft[i]) && std::isfinite(dright[i])) << i;
    }
    EXPECT_NE(dleft[0], 0.0);  // silence in is never exact silence out: the dither is there
    dispatch(record, effMainsChanged, 0, 0);
    EXPECT_EQ(dispatch(record, effClose), 1);
}

}  // namespace
}  // namespace tovrel::abi
