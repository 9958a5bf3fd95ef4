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

std::uint64_t seedWord(std::uint32_t left, std::uint32_t right) {
    return static_cast<std::uint64_t>(left) << 32 | right;
}

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
        requestedSeeds_.store(seedWord(seeds[0], seeds[1]), std::memory_order_release);
        return 1;
    }
    if (index == kGetNoiseSeeds && ptr != nullptr) {
        std::uint64_t word = requestedSeeds_.load(std::memory_order_acquire);
        if (word == 0) word = currentSeeds_.load(std::memory_order_acquire);
        seeds[0] = static_cast<std::uint32_t>(word >> 32);
        seeds[1] = static_cast<std::uint32_t>(word);
        std::memcpy(ptr, seeds, sizeof seeds);
        return 1;
    }
    return AudioEffectX::vendorSpecific(index, value, ptr, opt);
}

// On the audio thread: one atomic read when no request waits.
void Tovrel::takeRequestedSeeds() {
    if (requestedSeeds_.load(std::memory_order_relaxed) == 0) return;
    const std::uint64_t word = requestedSeeds_.exchange(0, std::memory_order_acquire);
    if (word == 0) return;
    signalState_.fpdL = static_cast<std::uint32_t>(word >> 32);
    signalState_.fpdR = static_cast<std::uint32_t>(word);
}

void Tovrel::publishSeeds() {
    currentSeeds_.store(seedWord(signalState_.fpdL, signalState_.fpdR), std::memory_order_release);
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
