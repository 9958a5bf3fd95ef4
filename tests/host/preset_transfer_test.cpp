// Presets between files and running plug-ins: both forms, banks, and presets that do not fit.
#include "host/preset_transfer.h"

#include <gtest/gtest.h>

#include "frame/opcodes.h"
#include "host/host_error.h"
#include "host/plugin_text.h"

namespace tovrel {
namespace {

std::string applyError(Plugin& plugin, const PresetFile& preset) {
    try {
        applyPreset(plugin, preset, "x.fxp");
    } catch (const HostError& error) {
        return error.what();
    }
    return "";
}

TEST(PresetTransferTest, ValuesFormCarriesParametersAndNameToAFreshInstance) {
    auto source = Plugin::open(FAKE_STEREO);
    source->setParameter(0, 0.125f);
    const FxProgram saved = captureProgram(*source);
    EXPECT_FALSE(saved.opaque);
    EXPECT_EQ(saved.pluginVersion, 7);  // the vendor version
    EXPECT_EQ(saved.values, (std::vector<float>{0.125f, 0.25f}));
    EXPECT_EQ(saved.name, "First");

    auto target = Plugin::open(FAKE_STEREO);
    applyPreset(*target, parsePreset(serializeProgram(saved)), "x.fxp");
    EXPECT_EQ(target->parameter(0), 0.125f);
    EXPECT_EQ(programName(*target), "First");
}

TEST(PresetTransferTest, ChunkFormSavedThenLoadedGivesTheIdenticalChunk) {
    auto source = Plugin::open(FAKE_CHUNKS);
    source->setParameter(1, 0.875f);
    const FxProgram saved = captureProgram(*source);
    ASSERT_TRUE(saved.opaque);
    auto target = Plugin::open(FAKE_CHUNKS);
    applyPreset(*target, parsePreset(serializeProgram(saved)), "x.fxp");
    EXPECT_EQ(captureProgram(*target).chunk, saved.chunk);
    EXPECT_EQ(serializeProgram(captureProgram(*target)), serializeProgram(saved));
}

TEST(PresetTransferTest, BanksRestoreEveryProgram) {
    auto source = Plugin::open(FAKE_STEREO);
    source->dispatch(effSetProgram, 0, 1);
    source->setParameter(0, 0.75f);
    source->dispatch(effSetProgram, 0, 0);
    const FxBank bank = captureBank(*source);
    ASSERT_EQ(bank.programs.size(), 2u);
    EXPECT_EQ(source->dispatch(effGetProgram), 0);  // the current program is kept

    auto target = Plugin::open(FAKE_STEREO);
    applyPreset(*target, parsePreset(serializeBank(bank)), "x.fxb");
    target->dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(target->parameter(0), 0.75f);
    EXPECT_EQ(programName(*target), "Second");
}

TEST(PresetTransferTest, RefusesPresetsThatDoNotFit) {
    auto plain = Plugin::open(FAKE_STEREO);
    auto chunky = Plugin::open(FAKE_CHUNKS);
    const FxProgram forChunky = captureProgram(*chunky);
    EXPECT_NE(applyError(*plain, forChunky)
                  .find("is for plug-in 'FkCh', not for the loaded "
                        "plug-in 'Fake'"),
              std::string::npos);

    FxProgram opaque = forChunky;
    opaque.pluginId = plain->record().uniqueID;
    EXPECT_NE(applyError(*plain, opaque).find("does not take chunks"), std::string::npos);

    FxProgram wrongCount = captureProgram(*plain);
    wrongCount.values.push_back(0.5f);
    EXPECT_NE(applyError(*plain, wrongCount).find("has 3 parameters but the plug-in has 2"),
              std::string::npos);

    FxProgram empty = forChunky;
    empty.chunk.clear();
    EXPECT_NE(applyError(*chunky, empty).find("empty chunk"), std::string::npos);
}

}  // namespace
}  // namespace tovrel
