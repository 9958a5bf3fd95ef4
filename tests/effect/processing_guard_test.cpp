#include <gtest/gtest.h>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

// A host may hand over missing buffers; the effect must neither crash nor advance its state.
TEST(TovrelProcessing, MissingBuffersAreIgnoredAndRealOnesProcessed) {
    auto effect = testing::makeTovrel();
    const auto seedL = effect->signalState().fpdL;
    float sample[4] = {};
    float* one[2] = {sample, nullptr};
    float* both[2] = {sample, sample};
    effect->processReplacing(nullptr, both, 4);
    effect->processReplacing(both, nullptr, 4);
    effect->processReplacing(one, both, 4);
    effect->processReplacing(both, one, 4);
    double dsample[4] = {};
    double* dboth[2] = {dsample, dsample};
    double* done[2] = {nullptr, dsample};
    effect->processDoubleReplacing(done, dboth, 4);
    effect->processDoubleReplacing(dboth, nullptr, 4);
    EXPECT_EQ(effect->signalState().fpdL, seedL);
    effect->processReplacing(both, both, 4);
    EXPECT_NE(effect->signalState().fpdL, seedL);
}

}  // namespace
}  // namespace tovrel
