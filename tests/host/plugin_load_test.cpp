// Loading plug-ins as a DAW does, refusing files that are not plug-ins, and the callback's
// answers as a plain offline host.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "frame/opcodes.h"
#include "host/host_callback.h"
#include "host/host_error.h"
#include "host/plugin.h"
#include "test_support.h"

namespace tovrel {
namespace {

std::string loadError(const std::string& path) {
    try {
        Plugin::open(path);
    } catch (const HostError& error) {
        return error.what();
    }
    return "";
}

TEST(PluginLoadTest, RefusesWhatIsNotAPlugin) {
    EXPECT_NE(loadError(FAKE_NO_ENTRY).find("exports neither VSTPluginMain nor main"),
              std::string::npos);
    EXPECT_NE(loadError(FAKE_NULL_RECORD).find("returned no effect"), std::string::npos);
    EXPECT_NE(loadError(FAKE_BAD_MAGIC).find("wrong magic number"), std::string::npos);
    EXPECT_NE(loadError("/nonexistent/plugin.so").find("cannot load plug-in"), std::string::npos);
    test::TempDir dir;
    test::writeText(dir.path("text.so"), "not an ELF file\n");
    EXPECT_NE(loadError(dir.path("text.so")).find("cannot load plug-in"), std::string::npos);
}

TEST(PluginLoadTest, OpensOnLoadAndClosesOnDestruction) {
    test::FakeJournal journal(FAKE_STEREO);
    {
        auto plugin = Plugin::open(FAKE_STEREO);
        EXPECT_EQ(plugin->record().numInputs, 2);
        EXPECT_EQ(journal.text(), "open;");
    }
    EXPECT_EQ(journal.text(), "open;close;");
}

TEST(PluginLoadTest, LoadsTheOlderMainEntryOfThirdPartyPlugins) {
    const char* path = "/usr/lib/vst/3BandEQ-vst.so";  // DISTRHO builds export only main
    if (access(path, R_OK) != 0) GTEST_SKIP() << "dpf-plugins-vst is not installed";
    auto plugin = Plugin::open(path);
    EXPECT_EQ(plugin->record().magic, kEffectMagic);
    EXPECT_GT(plugin->record().numParams, 0);
}

// An effect linked into this program, as the PowerPC render check links Tovrel.
AEffect staticRecord;
VstIntPtr staticDispatcher(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == effGetVendorVersion ? 42 : 0;
}
AEffect* staticEntry(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) != 2400) return nullptr;
    std::memset(&staticRecord, 0, sizeof staticRecord);
    staticRecord.magic = kEffectMagic;
    staticRecord.dispatcher = staticDispatcher;
    return &staticRecord;
}

TEST(PluginLoadTest, TakesAnEntryPointInsteadOfAFile) {
    auto plugin = Plugin::open(staticEntry, "linked-in");
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 42);
    EXPECT_EQ(plugin->name(), "linked-in");
}

TEST(HostCallbackTest, AnswersAsAnOfflineHost) {
    EXPECT_EQ(hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f), 4);
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f), 1000);
    char text[65];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetVendorString, 0, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, "fellmarrow");
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetProductString, 0, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, "tovrel");
    char startStop[] = "startStopProcess";
    char timeInfo[] = "sendVstTimeInfo";
    EXPECT_EQ(hostCallback(nullptr, audioMasterCanDo, 0, 0, startStop, 0.0f), 1);
    EXPECT_EQ(hostCallback(nullptr, audioMasterCanDo, 0, 0, timeInfo, 0.0f), 0);
}

TEST(HostCallbackTest, AnswersZeroOrNullToEverythingElseWithoutCrashing) {
    for (VstInt32 opcode = -3; opcode < 80; ++opcode) {
        if (opcode == audioMasterVersion || opcode == audioMasterGetSampleRate ||
            opcode == audioMasterGetBlockSize || opcode == audioMasterGetCurrentProcessLevel ||
            opcode == audioMasterGetVendorVersion) {
            continue;
        }
        EXPECT_EQ(hostCallback(nullptr, opcode, 0, 0, nullptr, 0.0f), 0) << "opcode " << opcode;
    }
}

TEST(HostCallbackTest, ReportsEachInstancesRateAndBlockSize) {
    HostState state;
    state.sampleRate = 48000.0f;
    state.blockSize = 64;
    AEffect record{};
    attachHostState(record, state);
    EXPECT_EQ(hostCallback(&record, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 48000);
    EXPECT_EQ(hostCallback(&record, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 64);
    AEffect unknown{};
    HostState loading;
    loading.blockSize = 128;
    const LoadingScope scope(loading);  // a plug-in asking from inside its constructor
    EXPECT_EQ(hostCallback(&unknown, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 128);
}

}  // namespace
}  // namespace tovrel
