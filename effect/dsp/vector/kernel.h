// The both-channels kernel, built for processors with AVX2 and FMA and entered only on one.
// It covers one chunk of at most kChunkFrames frames in two passes: the chain of both channels
// into the workspace, then the output stage. Where it cannot give the exact result it says so,
// and the portable caller does that part the scalar way; it never calls portable code itself.
#pragma once

#include "effect/dsp/block_values.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/workspace.h"

namespace tovrel::dsp::vector {

// Whether this build has the kernel and this processor can run it.
bool available();

// Whether the block's values suit the kernel: it expects the section coefficients other than b2
// to be plain doubles, as the design makes them.
bool suits(const SignalState& state);

// Fills the workspace with both channels' chain outputs and advances the filters, or, where the
// exact result needs one of the arithmetic's special cases (an infinity or a NaN somewhere), leaves
// the state untouched and answers false so that the caller runs the chunk the scalar way.
bool runChain(SignalState& state, const BlockValues& values, const float* left, const float* right,
              int frames, Workspace& workspace);
bool runChain(SignalState& state, const BlockValues& values, const double* left,
              const double* right, int frames, Workspace& workspace);

// Gain, mix, dither and the written words for frames [first, frames) of a chunk whose chain
// outputs are in the workspace, up to the first frame whose exact result needs one of the
// arithmetic's special cases. Answers that frame, unwritten and with the noise states as it
// starts from them, or `frames` when there is none. An input may be the same buffer as an output.
int finish(SignalState& state, const BlockValues& values, const float* const inputs[2],
           float* const outputs[2], int first, int frames, const Workspace& workspace);
int finish(SignalState& state, const BlockValues& values, const double* const inputs[2],
           double* const outputs[2], int first, int frames, const Workspace& workspace);

// For tests: pow(x, 5.0) of `count` values (a multiple of four) through the kernel's lanes, eight
// at a time as two vectors side by side, and a last four alone.
void powFiveProbe(const double* x, double* out, int count);

// For tests: one operation of the kernel's arithmetic on two lanes at once (0 sum, 1 difference,
// 2 product, 3 product by a pair whose low word is zero). Answers whether a lane's high word came
// out non-finite, the kernel's sign to leave the work to the scalar way.
bool arithmeticProbe(int operation, const DoubleDouble x[2], const DoubleDouble y[2],
                     DoubleDouble out[2]);

}  // namespace tovrel::dsp::vector
