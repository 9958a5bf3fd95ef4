// The factory the entry point calls; an effect module defines it, so the tests do too.
#include <new>

#include "frame/factory.h"
#include "frame_test_support.h"

FactoryMode factoryMode = FactoryMode::Build;
int factoryCalls = 0;

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    ++factoryCalls;
    switch (factoryMode) {
        case FactoryMode::ReturnNull:
            return nullptr;
        case FactoryMode::Throw:
            throw std::bad_alloc();
        case FactoryMode::Build:
            break;
    }
    return new BareEffect(audioMaster);
}
