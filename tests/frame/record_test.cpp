// The record a host sees, the trampolines behind it, the entry point and close.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <tuple>

#include "frame/opcodes.h"
#include "frame/trampolines.h"
#include "frame_test_support.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);
extern "C" AEffect* main_macho(audioMasterCallback audioMaster);

namespace {

VstIntPtr closeRecord(AEffect* record) {
    return record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST(Record, ReadsAsDocumentedAfterConstruction) {
    BareEffect effect;
    // Every field not set here must be zero, so compare the whole record byte for byte.
    AEffect expected;
    std::memset(&expected, 0, sizeof expected);
    expected.magic = 1450406992;
    expected.dispatcher = &dispatchEffectClass;
    expected.process = &processClass;
    expected.setParameter = &setParameterClass;
    expected.getParameter = &getParameterClass;
    expected.numParams = 5;
    expected.numInputs = 1;
    expected.numOutputs = 2;
    expected.flags = 16;
    expected.ioRatio = 1.0f;
    expected.object = static_cast<AudioEffect*>(&effect);
    expected.uniqueID = 1315915110;
    expected.version = 1;
    expected.processReplacing = &processClassReplacing;
    expected.processDoubleReplacing = &processClassDoubleReplacing;
    EXPECT_EQ(std::memcmp(&effect.effectRecord, &expected, sizeof expected), 0);
    EXPECT_EQ(effect.getAeffect(), &effect.effectRecord);
    EXPECT_EQ(std::make_tuple(effect.getSampleRate(), effect.getBlockSize(), effect.getProgram()),
              std::make_tuple(44100.0f, 1024, 0));
}

TEST(Record, SettersChangeOnlyTheirField) {
    BareEffect effect;
    effect.effectRecord.flags = -1;
    const VstInt32 all = -1;
    const std::pair<void (BareEffect::*)(bool), VstInt32> flagSetters[] = {
        {&AudioEffect::hasClip, 2},
        {&AudioEffect::hasVu, 4},
        {&AudioEffect::canMono, 8},
        {&AudioEffect::canProcessReplacing, 16},
        {&AudioEffect::programsAreChunks, 32},
        {&AudioEffectX::isSynth, 256},
        {&AudioEffectX::noTail, 512},
        {&AudioEffectX::wantAsyncOperation, 1024},
        {&AudioEffectX::hasExternalBuffer, 2048},
        {&AudioEffect::canDoubleReplacing, 4096},
    };
    for (const auto& [setter, bit] : flagSetters) {
        (effect.*setter)(false);
        EXPECT_EQ(effect.effectRecord.flags, all & ~bit) << bit;
        (effect.*setter)(true);
        EXPECT_EQ(effect.effectRecord.flags, all) << bit;
    }
    effect.setProgram(-3);  // stored without a range test
    EXPECT_EQ(effect.getProgram(), -3);
    effect.setBlockSizeAndSampleRate(256, 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
}

TEST(Record, PlugCategoryFollowsTheSynthFlag) {
    BareEffect effect;
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategUnknown);
    effect.isSynth(true);
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
}

TEST(Record, AttachedEditorSetsTheFlagAndIsDestroyedWithTheEffect) {
    RecordingEditor::destroyed = 0;
    RecordingEditor kept(nullptr);
    {
        RecordingEffect effect;
        effect.setEditor(&kept);
        EXPECT_EQ(effect.getEditor(), &kept);
        EXPECT_EQ(effect.effectRecord.flags & effFlagsHasEditor, effFlagsHasEditor);
        effect.setEditor(nullptr);
        EXPECT_EQ(effect.effectRecord.flags & effFlagsHasEditor, 0);
    }
    EXPECT_EQ(RecordingEditor::destroyed, 0);
    {
        RecordingEffect effect;
        effect.setEditor(new RecordingEditor(&effect.log));
    }
    EXPECT_EQ(RecordingEditor::destroyed, 1);
}

TEST(Trampolines, ForwardToTheObjectBehindTheRecord) {
    RecordingEffect effect;
    AEffect* r = effect.getAeffect();
    auto* in = reinterpret_cast<float**>(kPointer);
    auto* inDouble = reinterpret_cast<double**>(kPointer);
    r->setParameter(r, 2, 0.25f);
    EXPECT_EQ(r->getParameter(r, 2), 0.75f);
    r->process(r, in, nullptr, 64);
    r->processReplacing(r, in, nullptr, 32);
    r->processDoubleReplacing(r, inDouble, nullptr, 16);
    EXPECT_EQ(effect.log.take(),
              "setParameter(2,0.25);getParameter(2);process(P,64);processReplacing(P,32);"
              "processDoubleReplacing(P,16)");
}

TEST(Trampolines, NullRecordIsHarmless) {
    EXPECT_EQ(dispatchEffectClass(nullptr, effIdentify, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(getParameterClass(nullptr, 0), 0.0f);
    setParameterClass(nullptr, 0, 1.0f);
    processClassReplacing(nullptr, nullptr, nullptr, 1);
}

TEST(Trampolines, CloseRunsCloseDestroysTheObjectAndAnswersOne) {
    BareEffect::destroyed = 0;
    auto* effect = new RecordingEffect;  // its close answers nothing; the trampoline answers 1
    EXPECT_EQ(closeRecord(effect->getAeffect()), 1);
    EXPECT_EQ(BareEffect::destroyed, 1);
}

class ThrowingEffect : public BareEffect {
  public:
    void open() override { throw std::runtime_error("open"); }
    void close() override { throw std::runtime_error("close"); }
    float getParameter(VstInt32) override { throw std::runtime_error("get"); }
    void setParameter(VstInt32, float) override { throw std::runtime_error("set"); }
    void process(float**, float**, VstInt32) override { throw std::runtime_error("process"); }
    void processReplacing(float**, float**, VstInt32) override { throw 42; }
    void processDoubleReplacing(double**, double**, VstInt32) override { throw 42; }
};

TEST(Trampolines, NoExceptionReachesTheHost) {
    BareEffect::destroyed = 0;
    auto* effect = new ThrowingEffect;
    AEffect* r = effect->getAeffect();
    EXPECT_EQ(r->dispatcher(r, effOpen, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(r->getParameter(r, 0), 0.0f);
    r->setParameter(r, 0, 1.0f);
    r->process(r, nullptr, nullptr, 1);
    r->processReplacing(r, nullptr, nullptr, 1);
    r->processDoubleReplacing(r, nullptr, nullptr, 1);
    // A failing close still releases the object: the host has let go of the record.
    EXPECT_EQ(closeRecord(r), 1);
    EXPECT_EQ(BareEffect::destroyed, 1);
}

TEST(Entry, AsksTheHostVersionThenBuildsTheEffect) {
    for (auto entry : {&VSTPluginMain, &main_macho}) {
        RecordingHost::reset(2400);
        factoryMode = FactoryMode::Build;
        AEffect* record = entry(&RecordingHost::callback);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(RecordingHost::calls.size(), 1u);
        const HostCall& call = RecordingHost::calls[0];
        EXPECT_EQ(call.effect, nullptr);
        EXPECT_EQ(call.opcode, audioMasterVersion);
        EXPECT_EQ(std::make_tuple(call.index, call.value, call.ptr, call.opt),
                  std::make_tuple(0, VstIntPtr{0}, nullptr, 0.0f));
        auto* effect = static_cast<BareEffect*>(record->object);
        EXPECT_EQ(effect->hostCallback, &RecordingHost::callback);
        EXPECT_EQ(closeRecord(record), 1);
    }
}

TEST(Entry, FailuresGiveTheHostANullRecord) {
    factoryCalls = 0;
    RecordingHost::reset(0);  // a host that answers 0 to the version question
    EXPECT_EQ(VSTPluginMain(&RecordingHost::callback), nullptr);
    EXPECT_EQ(factoryCalls, 0);
    RecordingHost::reset(2400);
    for (FactoryMode mode : {FactoryMode::ReturnNull, FactoryMode::Throw}) {
        factoryMode = mode;
        EXPECT_EQ(VSTPluginMain(&RecordingHost::callback), nullptr);
        EXPECT_EQ(main_macho(&RecordingHost::callback), nullptr);
    }
    factoryMode = FactoryMode::Build;
    EXPECT_EQ(factoryCalls, 4);
}

TEST(Entry, WithoutACallbackTheEffectRunsOnDefaults) {
    factoryMode = FactoryMode::Build;
    AEffect* record = VSTPluginMain(nullptr);
    ASSERT_NE(record, nullptr);
    auto* effect = static_cast<BareEffect*>(record->object);
    EXPECT_EQ(effect->getMasterVersion(), 1);
    EXPECT_EQ(effect->updateSampleRate(), 44100.0);
    EXPECT_EQ(closeRecord(record), 1);
}

}  // namespace
