// Parameter storage and the texts a host shows for each parameter.
#include "effect/parameter_table.h"
#include "effect/tovrel.h"
#include "frame/bounded_copy.h"

namespace tovrel {
namespace {

bool validIndex(VstInt32 index) { return index >= 0 && index < kNumParameters; }

}  // namespace

void Tovrel::setParameter(VstInt32 index, float value) {
    std::atomic<float>* fields[kNumParameters] = {&A, &B, &C, &D, &E};
    // A host index outside the table has no parameter to change: ignore it.
    if (validIndex(index)) fields[index]->store(value, std::memory_order_relaxed);
}

float Tovrel::getParameter(VstInt32 index) {
    const std::atomic<float>* fields[kNumParameters] = {&A, &B, &C, &D, &E};
    return validIndex(index) ? fields[index]->load(std::memory_order_relaxed) : 0.0f;
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

dsp::ParameterSnapshot Tovrel::readParameters() const {
    return {A.load(std::memory_order_relaxed), B.load(std::memory_order_relaxed),
            C.load(std::memory_order_relaxed), D.load(std::memory_order_relaxed),
            E.load(std::memory_order_relaxed)};
}

void Tovrel::storeParameters(const float (&values)[kNumParameters]) {
    std::atomic<float>* fields[kNumParameters] = {&A, &B, &C, &D, &E};
    for (int i = 0; i < kNumParameters; ++i) fields[i]->store(values[i], std::memory_order_relaxed);
}

}  // namespace tovrel
