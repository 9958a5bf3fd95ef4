// Both processing entries hand the block to the signal path with one parameter snapshot.
#include "effect/dsp/process.h"
#include "effect/tovrel.h"

namespace tovrel {
namespace {

template <typename Sample>
bool usable(Sample** inputs, Sample** outputs) {
    return inputs != nullptr && outputs != nullptr && inputs[0] != nullptr &&
           inputs[1] != nullptr && outputs[0] != nullptr && outputs[1] != nullptr;
}

}  // namespace

void Tovrel::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (!usable(inputs, outputs)) return;
    dsp::processFloat(signalState_, workspace_, getSampleRate(), readParameters(), inputs, outputs,
                      sampleFrames);
}

void Tovrel::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    if (!usable(inputs, outputs)) return;
    dsp::processDouble(signalState_, workspace_, getSampleRate(), readParameters(), inputs, outputs,
                       sampleFrames);
}

}  // namespace tovrel
