// The one function every effect supplies: the entry point asks it for the instance.
#pragma once

#include "frame/aeffect.h"
#include "frame/export.h"

class AudioEffect;

// Builds the effect on the heap; a constructor failure leaves with its exception after the
// storage has been released.
TOVREL_EXPORT AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
