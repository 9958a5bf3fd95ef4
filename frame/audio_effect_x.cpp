#include "frame/audio_effect_x.h"

#include <cstring>

#include "frame/can_dos.h"

void AudioEffectX::resume() {
    if ((effectRecord.flags & effFlagsIsSynth) == 0) {
        // A writable copy: canDo takes a plain char*, and an override may scribble on it.
        char text[32];
        std::strcpy(text, PlugCanDos::canDoReceiveVstMidiEvent);
        if (canDo(text) != 1) return;
    }
    wantEvents(1);
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
    if (pluginInput != nullptr) *pluginInput = nullptr;
    if (pluginOutput != nullptr) *pluginOutput = nullptr;
    return false;
}

VstPlugCategory AudioEffectX::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}
