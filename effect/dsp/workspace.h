// What a processing call needs beside the signal state: room for one chunk of chain outputs,
// sized once with the instance so that processing never allocates, and the choice of kernel.
#pragma once

namespace tovrel::dsp {

// Long enough to amortise a chunk's pipeline fill, short enough to stay in the first-level cache.
constexpr int kChunkFrames = 512;

struct Workspace {
    // The both-channels kernel when the processor has FMA; tests switch it off to compare.
    bool vectorKernel;
    // The chain outputs of both channels (left, right) per frame, high and low words apart.
    alignas(32) double wetHigh[kChunkFrames][2];
    alignas(32) double wetLow[kChunkFrames][2];

    Workspace();
};

}  // namespace tovrel::dsp
