#include "effect/tovrel.h"
#include "frame/factory.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new tovrel::Tovrel(audioMaster);
}
