#include "effect/tovrel.h"

#include <cstring>

#include "effect/dsp/process.h"
#include "effect/noise_seed.h"
#include "frame/bounded_copy.h"
#include "frame/factory.h"

namespace tovrel {
namespace {

const char kEffectName[] = "Tovrel";
const char kVendorString[] = "fellmarrow";
const char kProductString[] = "fellmarrow Tovrel";
constexpr VstInt32 kVendorVersion = 1000;

static_assert(kChunkValues == kNumParameters, "the chunk holds every parameter, in index order");

bool validIndex(VstInt32 index) {
    return index >= 0 && index < kNumParameters;
}

constexpr VstInt32 kSetNoiseSeeds = fourCharCode('t', 'v', 'S', 'd');
constexpr VstInt32 kGetNoiseSeeds = fourCharCode('t', 'v', 'S', 'g');
// A noise state at or below this would start the dither on a near-zero run.
constexpr std::uint32_t kLowestNoiseSeed = 16385;

template <typename Sample>
bool usable(Sample** inputs, Sample** outputs) {
    return inputs != nullptr && outputs != nullptr && inputs[0] != nullptr &&
           inputs[1] != nullptr && outputs[0] != nullptr && outputs[1] != nullptr;
}

}  // namespace

// --- construction and identity ---------------------------------------------------------------

Tovrel::Tovrel(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 0, kNumParameters), programName{}, chunkBlock{} {
    for (int i = 0; i < kNumParameters; ++i) parameters_[i] = kParameterTable[i].defaultValue;
    signalState_.fpdL = drawNoiseSeed();
    signalState_.fpdR = drawNoiseSeed();
    publishSeeds();
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

VstInt32 Tovrel::getVendorVersion() {
    return kVendorVersion;
}

VstInt32 Tovrel::canDo(char* text) {
    if (text == nullptr) return -1;
    return canDoStrings.count(text) != 0 ? 1 : -1;
}

VstPlugCategory Tovrel::getPlugCategory() {
    return kPlugCategEffect;
}

// --- noise seeds ---------------------------------------------------------------------------------

VstIntPtr Tovrel::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    std::uint32_t seeds[2];
    if (index == kSetNoiseSeeds && value == 0 && ptr != nullptr) {
        std::memcpy(seeds, ptr, sizeof seeds);
        if (seeds[0] <= kLowestNoiseSeed || seeds[1] <= kLowestNoiseSeed) return 0;
        requestedSeeds_.write(seeds[0], seeds[1]);
        return 1;
    }
    if (index == kGetNoiseSeeds && ptr != nullptr) {
        // A request not yet taken answers as the states the next block starts from.
        const bool pending = requestedSeeds_.version() != takenRequest_.load();
        const SeedPair& source = pending ? requestedSeeds_ : currentSeeds_;
        std::uint32_t version = 0;
        while (!source.tryRead(seeds[0], seeds[1], version)) {
        }
        std::memcpy(ptr, seeds, sizeof seeds);
        return 1;
    }
    return AudioEffectX::vendorSpecific(index, value, ptr, opt);
}

// On the audio thread, which never waits: a request caught while being written is taken at the
// next call.
void Tovrel::takeRequestedSeeds() {
    if (requestedSeeds_.version() == takenRequest_.load(std::memory_order_relaxed)) return;
    std::uint32_t left = 0, right = 0, version = 0;
    if (!requestedSeeds_.tryRead(left, right, version)) return;
    signalState_.fpdL = left;
    signalState_.fpdR = right;
    takenRequest_.store(version);
}

void Tovrel::publishSeeds() {
    currentSeeds_.write(signalState_.fpdL, signalState_.fpdR);
}

// --- parameters --------------------------------------------------------------------------------

void Tovrel::setParameter(VstInt32 index, float value) {
    // A host index outside the table has no parameter to change: ignore it.
    if (validIndex(index)) parameters_[index].store(value, std::memory_order_relaxed);
}

float Tovrel::getParameter(VstInt32 index) {
    return validIndex(index) ? parameters_[index].load(std::memory_order_relaxed) : 0.0f;
}

void Tovrel::getParameterName(VstInt32 index, char* text) {
    if (validIndex(index) && text != nullptr)
        boundedCopy(text, kParameterTable[index].name, kVstMaxParamStrLen);
}

void Tovrel::getParameterLabel(VstInt32 index, char* label) {
    if (validIndex(index) && label != nullptr) boundedCopy(label, "", kVstMaxParamStrLen);
}

void Tovrel::getParameterDisplay(VstInt32 index, char* text) {
    if (validIndex(index) && text != nullptr)
        float2string(getParameter(index), text, kVstMaxParamStrLen);
}

// --- the chunk: the host saves and restores the five parameters as one opaque block -----------

VstInt32 Tovrel::getChunk(void** data, bool /*isPreset*/) {
    if (data == nullptr) return 0;
    float values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = getParameter(i);
    encodeChunk(values, chunkBlock);
    *data = chunkBlock;
    return kChunkBytes;
}

VstInt32 Tovrel::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/) {
    float values[kNumParameters];
    if (decodeChunk(data, byteSize, values)) {
        for (int i = 0; i < kNumParameters; ++i) setParameter(i, values[i]);
    }
    return 0;
}

// --- processing: both entries hand the block to the signal path with one snapshot ------------

dsp::ParameterSnapshot Tovrel::readParameters() const {
    const auto read = [this](ParameterIndex i) {
        return parameters_[i].load(std::memory_order_relaxed);
    };
    return {read(kTrim), read(kHi), read(kLo), read(kGain), read(kDryWet)};
}

void Tovrel::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (!usable(inputs, outputs)) return;
    takeRequestedSeeds();
    dsp::processFloat(signalState_, workspace_, getSampleRate(), readParameters(), inputs, outputs,
                      sampleFrames);
    publishSeeds();
}

void Tovrel::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    if (!usable(inputs, outputs)) return;
    takeRequestedSeeds();
    dsp::processDouble(signalState_, workspace_, getSampleRate(), readParameters(), inputs, outputs,
                       sampleFrames);
    publishSeeds();
}

}  // namespace tovrel

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new tovrel::Tovrel(audioMaster);
}
