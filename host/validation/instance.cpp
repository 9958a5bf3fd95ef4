#include "instance.h"

#include <cstdlib>

#include "frame/opcodes.h"
#include "host/host_error.h"
#include "outcome.h"

namespace tovrel::validation {
namespace {

constexpr VstInt32 kMaxChannels = 1024;
constexpr VstInt32 kMaxCount = 1 << 20;

VstIntPtr VSTCALLBACK answeringHost(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                    VstIntPtr value, void* ptr, float opt) {
    if (opcode == audioMasterVersion) ++hostLog().versionQuestions;
    return hostCallback(effect, opcode, index, value, ptr, opt);
}

// A host that knows nothing: every question answers 0 and fills nothing in.
VstIntPtr VSTCALLBACK silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) ++hostLog().versionQuestions;
    return 0;
}

bool within(VstInt32 value, VstInt32 limit) {
    return value >= 0 && value <= limit;
}

void checkRecord(const AEffect* effect) {
    if (effect == nullptr) throw NoRecord();
    if (effect->magic != kEffectMagic) {
        throw CheckFailure(expectedSeen("magic 'VstP' (" + std::to_string(kEffectMagic) + ")",
                                        std::to_string(effect->magic)));
    }
    if (effect->dispatcher == nullptr) throw CheckFailure("the record has no dispatcher");
    if (!within(effect->numInputs, kMaxChannels) || !within(effect->numOutputs, kMaxChannels)) {
        throw CheckFailure(expectedSeen("0 to 1024 channels each way",
                                        std::to_string(effect->numInputs) + " in, " +
                                            std::to_string(effect->numOutputs) + " out"));
    }
    if (!within(effect->numParams, kMaxCount) || !within(effect->numPrograms, kMaxCount)) {
        throw CheckFailure(expectedSeen("parameter and program counts from 0 to 2^20",
                                        std::to_string(effect->numParams) + " parameters, " +
                                            std::to_string(effect->numPrograms) + " programs"));
    }
}

}  // namespace

HostLog& hostLog() {
    static HostLog log;
    return log;
}

Instance::Instance(VstPluginMainProc entry, HostKind host) : state_(std::make_unique<HostState>()) {
    {
        LoadingScope scope(*state_);
        effect_ = entry(host == HostKind::Silent ? &silentHost : &answeringHost);
    }
    checkRecord(effect_);
    attachHostState(*effect_, *state_);
    dispatch(effOpen);
}

Instance::~Instance() {
    if (running_) stop();
    effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
}

bool Instance::offersDouble() const {
    return hasFlag(effFlagsCanDoubleReplacing) && effect_->processDoubleReplacing != nullptr;
}

VstIntPtr Instance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

float Instance::parameter(VstInt32 index) {
    return effect_->getParameter != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

void Instance::setParameter(VstInt32 index, float value) {
    if (effect_->setParameter != nullptr) effect_->setParameter(effect_, index, value);
}

void Instance::start(double sampleRate, VstInt32 blockSize) {
    if (running_) stop();
    state_->sampleRate = static_cast<float>(sampleRate);
    state_->blockSize = blockSize;
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
    running_ = true;
}

void Instance::stop() {
    dispatch(effStopProcess);
    dispatch(effMainsChanged, 0, 0);
    running_ = false;
}

bool Instance::seedNoise(std::uint32_t seed) {
    std::uint32_t seeds[2] = {seed, seed ^ 0x9e3779b9u};
    return dispatch(effVendorSpecific, kSeedRequest, 0, seeds) != 0;
}

PluginUnderTest::PluginUnderTest(const std::string& path) try : module_(path) {
} catch (const HostError& error) {
    throw CheckFailure(error.what());
}

std::unique_ptr<Instance> PluginUnderTest::create(std::uint32_t seed, HostKind host) {
    std::srand(seed);
    return std::make_unique<Instance>(module_.entry(), host);
}

}  // namespace tovrel::validation
