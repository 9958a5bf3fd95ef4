#include "effect/tovrel.h"

#include "effect/noise_seed.h"
#include "effect/parameter_table.h"
#include "frame/bounded_copy.h"

namespace tovrel {
namespace {

const char kEffectName[] = "Tovrel";
const char kVendorString[] = "fellmarrow";
const char kProductString[] = "fellmarrow Tovrel";
constexpr VstInt32 kVendorVersion = 1000;

}  // namespace

Tovrel::Tovrel(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 0, kNumParameters),
      programName{},
      A(kParameterTable[0].defaultValue),
      B(kParameterTable[1].defaultValue),
      C(kParameterTable[2].defaultValue),
      D(kParameterTable[3].defaultValue),
      E(kParameterTable[4].defaultValue),
      chunkBlock{} {
    signalState_.fpdL = drawNoiseSeed();
    signalState_.fpdR = drawNoiseSeed();
    canDoStrings.insert("plugAsChannelInsert");
    canDoStrings.insert("plugAsSend");
    canDoStrings.insert("x2in2out");
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('t', 'v', 'r', 'l'));
    canProcessReplacing(true);
    canDoubleReplacing(true);
    programsAreChunks(true);
    boundedCopy(programName, "Default", kVstMaxProgNameLen);
}

Tovrel::~Tovrel() = default;

void Tovrel::setProgramName(char* name) {
    if (name != nullptr) boundedCopy(programName, name, kVstMaxProgNameLen);
}

void Tovrel::getProgramName(char* name) {
    if (name != nullptr) boundedCopy(name, programName, kVstMaxProgNameLen);
}

bool Tovrel::getEffectName(char* name) {
    if (name == nullptr) return false;
    boundedCopy(name, kEffectName, kVstMaxEffectNameLen);
    return true;
}

bool Tovrel::getVendorString(char* text) {
    if (text == nullptr) return false;
    boundedCopy(text, kVendorString, kVstMaxVendorStrLen);
    return true;
}

bool Tovrel::getProductString(char* text) {
    if (text == nullptr) return false;
    boundedCopy(text, kProductString, kVstMaxProductStrLen);
    return true;
}

VstInt32 Tovrel::getVendorVersion() { return kVendorVersion; }

VstInt32 Tovrel::canDo(char* text) {
    if (text == nullptr) return -1;
    return canDoStrings.count(text) != 0 ? 1 : -1;
}

VstPlugCategory Tovrel::getPlugCategory() { return kPlugCategEffect; }

}  // namespace tovrel
