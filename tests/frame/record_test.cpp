// The record a host sees, the entries behind it, the entry point and close. The host-level
// tests load the built plug-in for the rest: both entry names, the version question, a host
// without a version, a null callback and the fields the effect leaves zero.
#include <gtest/gtest.h>

#include <new>
#include <tuple>

#include "frame/factory.h"
#include "frame_test_support.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

// The factory the entry point calls: an effect module defines it, so the tests do too.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    note("factory")();
    if (factoryMode == FactoryMode::Throw) throw std::bad_alloc();
    return factoryMode == FactoryMode::Build ? new BareEffect(audioMaster) : nullptr;
}

namespace {

const auto closeRecord = [](AEffect* r) { return r->dispatcher(r, 1, 0, 0, nullptr, 0); };

TEST(Record, FrameDefaultsAndFlags) {
    BareEffect effect;
    AEffect& r = *effect.getAeffect();
    EXPECT_EQ(std::make_tuple(r.magic, r.numPrograms, r.numParams, r.numInputs, r.numOutputs,
                              r.flags, r.ioRatio, r.uniqueID, r.version),
              std::make_tuple(1450406992, 0, 5, 1, 2, 16, 1.0f, 1315915110, 1));
    EXPECT_TRUE(effect.getSampleRate() == 44100.0f && effect.getBlockSize() == 1024);
    // Each flag operation changes its own bit only; the category follows the synth bit.
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategUnknown);
    r.flags = ~512;  // clearing a clear bit keeps it clear
    effect.hasClip(false);
    effect.noTail(false);
    effect.canDoubleReplacing(false);
    EXPECT_EQ(r.flags, ~(2 | 512 | 4096));
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
}

TEST(Entries, ForwardToTheObjectLetNoExceptionOutAndCloseDestroys) {
    for (bool throwing : {false, true}) {
        AEffect* r = (new RecordingEffect)->getAeffect();
        static_cast<RecordingEffect*>(r->object)->throwing = throwing;
        takeJournal();
        EXPECT_EQ(r->dispatcher(r, 3, 0, 0, nullptr, 0), throwing ? 0 : 7);
        r->setParameter(r, 2, 0.25f);
        EXPECT_EQ(r->getParameter(r, 2), throwing ? 0.0f : 7.0f);
        r->process(r, sentinel<float*>(), nullptr, 64);
        r->processReplacing(r, sentinel<float*>(), nullptr, 32);
        r->processDoubleReplacing(r, sentinel<double*>(), nullptr, 16);
        // Close answers 1 and frees the object even when its close fails: the host has let go.
        EXPECT_EQ(closeRecord(r), 1);
        EXPECT_EQ(takeJournal(),
                  "getProgram();setParameter(2,0.25);getParameter(2);process(P,64);"
                  "processReplacing(P,32);processDoubleReplacing(P,16);close();~effect()");
    }
    // A host handing back a null record gets a harmless answer.
    BareEffect effect;
    const AEffect r = *effect.getAeffect();
    EXPECT_EQ(r.dispatcher(nullptr, 22, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(r.dispatcher(nullptr, 1, 0, 0, nullptr, 0), 0);  // nothing to close
    EXPECT_EQ(r.getParameter(nullptr, 0), 0.0f);
    r.setParameter(nullptr, 0, 1.0f);
    r.process(nullptr, nullptr, nullptr, 1);
    r.processReplacing(nullptr, nullptr, nullptr, 1);
    r.processDoubleReplacing(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(takeJournal(), "");
}

TEST(Entry, BuildsOnTheHostsCallbackAndGivesANullRecordWhenTheFactoryFails) {
    const std::string asked = "host(0,1,0,0,0,0);factory()";
    const std::pair<FactoryMode, std::string> cases[] = {
        {FactoryMode::ReturnNull, asked},
        {FactoryMode::Throw, asked},
        {FactoryMode::Build, asked + ";host(E,1,0,0,0,0);~effect()"}};
    hostAnswer = 2400;
    for (const auto& [mode, calls] : cases) {
        factoryMode = mode;
        takeJournal();
        if (AEffect* record = VSTPluginMain(&recordingHost)) {
            EXPECT_EQ(static_cast<AudioEffect*>(record->object)->getMasterVersion(), 2400);
            EXPECT_EQ(closeRecord(record), 1);
        }
        EXPECT_EQ(takeJournal(), calls);
    }
}

}  // namespace
