#include "frame/trampolines.h"

#include "frame/audio_effect.h"
#include "frame/opcodes.h"

namespace {

// A host that hands back a null record gets a harmless answer instead of a crash.
AudioEffect* effectOf(AEffect* e) {
    return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
}

}  // namespace

VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return 0;
    if (opcode != effClose) {
        try {
            return effect->dispatcher(opcode, index, value, ptr, opt);
        } catch (...) {
            return 0;
        }
    }
    // The host lets go of the record with this request, so the object goes even when its
    // close fails; otherwise nothing could ever free it.
    try {
        effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
    }
    delete effect;  // destructors cannot throw: ~AudioEffect is noexcept
    return 1;
}

float getParameterClass(AEffect* e, VstInt32 index) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return 0.0f;
    try {
        return effect->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

void setParameterClass(AEffect* e, VstInt32 index, float value) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return;
    try {
        effect->setParameter(index, value);
    } catch (...) {
    }
}

void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return;
    try {
        effect->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return;
    try {
        effect->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                 VstInt32 sampleFrames) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return;
    try {
        effect->processDoubleReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}
