#include "plugin.h"

#include <cstdio>

#include "frame/opcodes.h"
#include "host_error.h"

namespace tovrel {
namespace {

// Anything beyond these is a damaged or hostile record, not a real plug-in.
constexpr VstInt32 kMaxChannels = 1024;
constexpr VstInt32 kMaxCount = 1 << 20;

bool within(VstInt32 value, VstInt32 limit) {
    return value >= 0 && value <= limit;
}

void checkRecord(const AEffect* effect, const std::string& name) {
    const std::string prefix = "'" + name + "' is not a VST 2.4 plug-in: ";
    if (effect == nullptr) throw HostError(prefix + "its entry point returned no effect");
    if (effect->magic != kEffectMagic) {
        char magic[16];
        std::snprintf(magic, sizeof magic, "0x%08x", static_cast<unsigned>(effect->magic));
        throw HostError(prefix + "its effect record has the wrong magic number " + magic);
    }
    if (effect->dispatcher == nullptr) throw HostError(prefix + "its record has no dispatcher");
    if (!within(effect->numInputs, kMaxChannels) || !within(effect->numOutputs, kMaxChannels) ||
        !within(effect->numParams, kMaxCount) || !within(effect->numPrograms, kMaxCount)) {
        throw HostError(prefix + "its record declares impossible channel or parameter counts");
    }
}

}  // namespace

std::unique_ptr<Plugin> Plugin::open(const std::string& path) {
    auto module = std::make_unique<PluginModule>(path);
    const VstPluginMainProc entry = module->entry();
    return std::unique_ptr<Plugin>(new Plugin(std::move(module), entry, path));
}

std::unique_ptr<Plugin> Plugin::open(VstPluginMainProc entry, const std::string& name) {
    return std::unique_ptr<Plugin>(new Plugin(nullptr, entry, name));
}

Plugin::Plugin(std::unique_ptr<PluginModule> module, VstPluginMainProc entry, std::string name)
    : module_(std::move(module)), state_(std::make_unique<HostState>()), name_(std::move(name)) {
    {
        LoadingScope scope(*state_);
        effect_ = entry(&hostCallback);
    }
    checkRecord(effect_, name_);
    attachHostState(*effect_, *state_);
    dispatch(effOpen);
}

Plugin::~Plugin() {
    effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

float Plugin::parameter(VstInt32 index) {
    if (effect_->getParameter == nullptr) return 0.0f;
    return effect_->getParameter(effect_, index);
}

void Plugin::setParameter(VstInt32 index, float value) {
    if (effect_->setParameter != nullptr) effect_->setParameter(effect_, index, value);
}

}  // namespace tovrel
