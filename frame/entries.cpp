// The six entries of the record, the only way a host reaches the object.
#include "frame/audio_effect.h"
#include "frame/opcodes.h"

template <typename Result, typename Call>
Result AudioEffect::guarded(AEffect* e, Result fallback, Call call) {
    AudioEffect* effect = e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
    if (effect == nullptr) return fallback;
    try {
        return call(*effect);
    } catch (...) {
        return fallback;
    }
}

VstIntPtr AudioEffect::dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                     void* ptr, float opt) {
    const auto dispatch = [&](AudioEffect& effect) {
        return effect.dispatcher(opcode, index, value, ptr, opt);
    };
    if (opcode != effClose) return guarded<VstIntPtr>(e, 0, dispatch);
    // The host lets go of the record with this request, so the object goes even when its
    // close fails; otherwise nothing could ever free it.
    return guarded<VstIntPtr>(e, 0, [&](AudioEffect& effect) -> VstIntPtr {
        try {
            dispatch(effect);
        } catch (...) {
        }
        delete &effect;  // destructors cannot throw: ~AudioEffect is noexcept
        return 1;
    });
}

float AudioEffect::getParameterEntry(AEffect* e, VstInt32 index) {
    return guarded(e, 0.0f, [&](AudioEffect& effect) { return effect.getParameter(index); });
}

// The entries without an answer go through the guard with a dummy one.
void AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value) {
    guarded(e, false, [&](AudioEffect& effect) {
        effect.setParameter(index, value);
        return true;
    });
}

void AudioEffect::processEntry(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
    guarded(e, false, [&](AudioEffect& effect) {
        effect.process(inputs, outputs, sampleFrames);
        return true;
    });
}

void AudioEffect::processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
    guarded(e, false, [&](AudioEffect& effect) {
        effect.processReplacing(inputs, outputs, sampleFrames);
        return true;
    });
}

void AudioEffect::processDoubleReplacingEntry(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
    guarded(e, false, [&](AudioEffect& effect) {
        effect.processDoubleReplacing(inputs, outputs, sampleFrames);
        return true;
    });
}
