#include "tools/render_check/renderer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "frame/opcodes.h"
#include "host/plugin.h"
#include "tools/render_check/bits.h"

namespace tovrel::render {
namespace {

// The case's input in both sample types, and output buffers to match.
struct Buffers {
    std::vector<double> inDouble[2], outDouble[2];
    std::vector<float> inFloat[2], outFloat[2];
};

Buffers makeBuffers(const RenderCase& c) {
    const StereoSignal signal = makeSignal(c.signal, c.sampleRate, c.frames);
    Buffers b;
    b.inDouble[0] = signal.left;
    b.inDouble[1] = signal.right;
    for (int ch = 0; ch < 2; ++ch) {
        b.inFloat[ch].assign(b.inDouble[ch].begin(), b.inDouble[ch].end());
        b.outDouble[ch].assign(c.frames, 0.0);
        b.outFloat[ch].assign(c.frames, 0.0f);
    }
    return b;
}

void configure(const RenderCase& c, Plugin& plugin) {
    const int largest = *std::max_element(c.blocks.begin(), c.blocks.end());
    plugin.hostState().sampleRate = c.sampleRate;
    plugin.hostState().blockSize = largest;
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, c.sampleRate);
    plugin.dispatch(effSetBlockSize, 0, largest);
    plugin.dispatch(effMainsChanged, 0, 1);
    plugin.dispatch(effStartProcess);
    if (c.parameters) {
        for (int i = 0; i < 5; ++i) plugin.setParameter(i, (*c.parameters)[i]);
    }
}

// What changes between blocks: the next parameter step, and every rateEvery blocks a new rate.
void betweenBlocks(const RenderCase& c, int block, Plugin& plugin) {
    if (!c.parameterSteps.empty()) {
        const ParameterStep& step = c.parameterSteps[(block - 1) % c.parameterSteps.size()];
        plugin.setParameter(step.index, step.value);
    }
    if (!c.rateSteps.empty() && block % c.rateEvery == 0) {
        const float rate = c.rateSteps[(block / c.rateEvery - 1) % c.rateSteps.size()];
        plugin.hostState().sampleRate = rate;
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    }
}

bool usesDouble(const RenderCase& c, int block) {
    return c.precision == Precision::Double || (c.precision == Precision::Alternate && block % 2);
}

void processBlock(AEffect& record, Buffers& b, int at, int frames, bool inDouble, FrameSink& sink) {
    if (inDouble) {
        double* in[2] = {b.inDouble[0].data() + at, b.inDouble[1].data() + at};
        double* out[2] = {b.outDouble[0].data() + at, b.outDouble[1].data() + at};
        record.processDoubleReplacing(&record, in, out, frames);
        for (int n = 0; n < frames; ++n) sink.frame(bitsOf(out[0][n]), bitsOf(out[1][n]));
    } else {
        float* in[2] = {b.inFloat[0].data() + at, b.inFloat[1].data() + at};
        float* out[2] = {b.outFloat[0].data() + at, b.outFloat[1].data() + at};
        record.processReplacing(&record, in, out, frames);
        for (int n = 0; n < frames; ++n) sink.frame(bitsOf(out[0][n]), bitsOf(out[1][n]));
    }
}

}  // namespace

void renderCase(const RenderCase& c, Plugin& plugin, FrameSink& sink) {
    if (c.blocks.empty() || *std::max_element(c.blocks.begin(), c.blocks.end()) <= 0) {
        throw std::invalid_argument("case " + c.name + " has no block that moves on");
    }
    Buffers buffers = makeBuffers(c);
    configure(c, plugin);
    int at = 0;
    for (int block = 0; at < c.frames; ++block) {
        if (block > 0) betweenBlocks(c, block, plugin);
        const int size = std::min(c.blocks[block % c.blocks.size()], c.frames - at);
        processBlock(plugin.record(), buffers, at, size, usesDouble(c, block), sink);
        at += size;
    }
    plugin.dispatch(effStopProcess);
    plugin.dispatch(effMainsChanged, 0, 0);
}

}  // namespace tovrel::render
