// Built with FMA enabled and entered only after the processor has been checked. Everything it
// compiles from shared headers stays internal, so no copy of it can stand in for the portable code.
#include "effect/dsp/vector/kernel.h"

#include "effect/dsp/vector/chain_pipeline.h"
#include "effect/dsp/vector/output_pass.h"

namespace tovrel::dsp::vector {
namespace {

template <typename Sample>
bool runChainOf(SignalState& state, const BlockValues& values, const Sample* left,
                const Sample* right, int frames, Workspace& workspace) {
    ChainPipeline<Sample> pipeline(state, values, left, right, frames, workspace);
    return pipeline.run(state);
}

}  // namespace

bool runChain(SignalState& state, const BlockValues& values, const float* left, const float* right,
              int frames, Workspace& workspace) {
    return runChainOf(state, values, left, right, frames, workspace);
}

bool runChain(SignalState& state, const BlockValues& values, const double* left,
              const double* right, int frames, Workspace& workspace) {
    return runChainOf(state, values, left, right, frames, workspace);
}

int finish(SignalState& state, const BlockValues& values, const float* const inputs[2],
           float* const outputs[2], int first, int frames, const Workspace& workspace) {
    return OutputPass<float>{values, workspace, inputs, outputs}.run(state, first, frames);
}

int finish(SignalState& state, const BlockValues& values, const double* const inputs[2],
           double* const outputs[2], int first, int frames, const Workspace& workspace) {
    return OutputPass<double>{values, workspace, inputs, outputs}.run(state, first, frames);
}

}  // namespace tovrel::dsp::vector

namespace tovrel::dsp::vector {

void powFiveProbe(const double* x, double* out, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {  // two vectors side by side, as the pipeline takes them
        const DoublePack<2> both{{_mm256_loadu_pd(x + i), _mm256_loadu_pd(x + i + 4)}};
        const DoublePack<2> powers = packPowFive(both);
        _mm256_storeu_pd(out + i, powers.v[0]);
        _mm256_storeu_pd(out + i + 4, powers.v[1]);
    }
    for (; i + 4 <= count; i += 4) _mm256_storeu_pd(out + i, lanePowFive(_mm256_loadu_pd(x + i)));
}

bool arithmeticProbe(int operation, const DoubleDouble x[2], const DoubleDouble y[2],
                     DoubleDouble out[2]) {
    const Lanes2 a = pairOf(x[0], x[1]);
    const Lanes2 b = pairOf(y[0], y[1]);
    const Lanes2 r = operation == 0   ? add(a, b)
                     : operation == 1 ? subtract(a, b)
                     : operation == 2 ? multiply(a, b)
                                      : multiplyBy(a, b.hi);
    storePair(r, out[0], out[1]);
    return _mm_movemask_pd(nonFinite(r.hi)) != 0;
}

}  // namespace tovrel::dsp::vector
