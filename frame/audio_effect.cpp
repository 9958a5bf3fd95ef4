#include "frame/audio_effect.h"

#include <cstring>

#include "frame/editor.h"

namespace {

// The base's own defaults write an empty text; a host may hand null, which we leave alone.
void writeEmpty(char* text) {
    if (text != nullptr) text[0] = '\0';
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 programCount,
                         VstInt32 parameterCount)
    : hostCallback(audioMaster),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(programCount),
      numParams(parameterCount),
      currentProgram(0) {
    // Every field a host does not hear about must read as zero.
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatchEntry;
    effectRecord.process = processEntry;
    effectRecord.setParameter = setParameterEntry;
    effectRecord.getParameter = getParameterEntry;
    effectRecord.numPrograms = programCount;
    effectRecord.numParams = parameterCount;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.flags = effFlagsCanReplacing;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = static_cast<AudioEffect*>(this);
    effectRecord.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    effectRecord.version = 1;
    effectRecord.processReplacing = processReplacingEntry;
    effectRecord.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state) {
        effectRecord.flags |= flag;
    } else {
        effectRecord.flags &= ~flag;
    }
}

void AudioEffect::getProgramName(char* name) {
    writeEmpty(name);
}

void AudioEffect::getParameterLabel(VstInt32 /*index*/, char* label) {
    writeEmpty(label);
}

void AudioEffect::getParameterDisplay(VstInt32 /*index*/, char* text) {
    writeEmpty(text);
}

void AudioEffect::getParameterName(VstInt32 /*index*/, char* text) {
    writeEmpty(text);
}
