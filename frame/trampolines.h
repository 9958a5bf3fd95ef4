// The six plain functions whose addresses the record carries: each finds the effect through
// the record's object field and makes one virtual call. No exception ever reaches the host.
#pragma once

#include "frame/aeffect.h"

VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
float getParameterClass(AEffect* e, VstInt32 index);
void setParameterClass(AEffect* e, VstInt32 index, float value);
void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                 VstInt32 sampleFrames);
