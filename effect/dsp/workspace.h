// What a processing call needs beside the signal state: room for one chunk of chain outputs,
// sized once with the instance so that processing never allocates, and the choice of kernel.
#pragma once

namespace tovrel::dsp {

// Long enough to amortise a chunk's pipeline fill, short enough to stay in the first-level cache.
constexpr int kChunkFrames = 512;

struct Workspace {
    // The both-channels kernel when the processor has FMA; tests switch it off to compare.
    bool vectorKernel;
    // Per frame: the chain outputs' high words (left, right), then their low words.
    alignas(32) double wet[kChunkFrames][4];

    Workspace();
};

}  // namespace tovrel::dsp
