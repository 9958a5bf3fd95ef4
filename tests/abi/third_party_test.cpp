// Our record header against effects built by others: a layout mistake shows up here at once.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "frame/opcodes.h"
#include "plugin_library.h"
#include "recording_host.h"

namespace tovrel::abi {
namespace {

struct ThirdParty {
    const char* path;
    const char* entryName;
};

class ThirdPartyEffect : public ::testing::TestWithParam<ThirdParty> {};

TEST_P(ThirdPartyEffect, LoadsAndProcessesThroughOurHeader) {
    const ThirdParty plugin = GetParam();
#if defined(__SANITIZE_ADDRESS__)
    // What a peer leaks is not ours to report.
    __lsan::ScopedDisabler peerAllocationsAreNotOurs;
#endif
    PluginLibrary library{plugin.path};
    if (!library.loaded()) GTEST_SKIP() << plugin.path << " is not installed";
    VstPluginMainProc entry = library.entry(plugin.entryName);
    ASSERT_NE(entry, nullptr) << plugin.entryName;
    RecordingHost::reset();
    AEffect* effect = entry(&RecordingHost::callback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_NE(effect->uniqueID, 0);
    EXPECT_GT(effect->numParams, 0);
    ASSERT_GE(effect->numInputs, 1);
    ASSERT_GE(effect->numOutputs, 1);
    ASSERT_LE(effect->numInputs, 8);
    ASSERT_LE(effect->numOutputs, 8);
    ASSERT_TRUE(effect->flags & effFlagsCanReplacing);
    ASSERT_NE(effect->processReplacing, nullptr);
    const float value = effect->getParameter(effect, 0);
    EXPECT_TRUE(value >= 0.0f && value <= 1.0f);

    dispatch(effect, effOpen);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effect, effSetBlockSize, 0, 128);
    dispatch(effect, effMainsChanged, 0, 1);
    std::vector<std::vector<float>> in(effect->numInputs, std::vector<float>(128, 0.25f));
    std::vector<std::vector<float>> out(effect->numOutputs, std::vector<float>(128, NAN));
    std::vector<float*> inputs, outputs;
    for (auto& channel : in) inputs.push_back(channel.data());
    for (auto& channel : out) outputs.push_back(channel.data());
    effect->processReplacing(effect, inputs.data(), outputs.data(), 128);
    for (auto& channel : out)
        for (float sample : channel) ASSERT_TRUE(std::isfinite(sample));
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effClose);
}

INSTANTIATE_TEST_SUITE_P(DebianPlugins, ThirdPartyEffect,
                         ::testing::Values(ThirdParty{"/usr/lib/vst/3BandEQ-vst.so", "main"},
                                           ThirdParty{
                                               "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so",
                                               "VSTPluginMain"}));

}  // namespace
}  // namespace tovrel::abi
