// The exported entry a host calls after loading the binary. No exception may reach the host:
// a failure of any kind gives it a null record.
#include "frame/audio_effect.h"
#include "frame/export.h"
#include "frame/factory.h"
#include "frame/opcodes.h"

extern "C" TOVREL_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    try {
        // Without a callback there is no host to ask; the instance then runs on defaults.
        if (audioMaster != nullptr &&
            audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
            return nullptr;
        }
        AudioEffect* effect = createEffectInstance(audioMaster);
        if (effect == nullptr) return nullptr;
        try {
            return effect->getAeffect();
        } catch (...) {
            delete effect;
            return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
}

// The name older Mac hosts look up; same behaviour.
extern "C" TOVREL_EXPORT AEffect* main_macho(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}
