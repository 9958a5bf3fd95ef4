// The suite covers what the comparison promises, as a union of cases, and stays small enough
// to render in a few minutes under qemu.
#include "tests/render/cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tovrel::render {
namespace {

bool any(bool (*predicate)(const RenderCase&)) {
    for (const RenderCase& c : renderSuite()) {
        if (predicate(c)) return true;
    }
    return false;
}

TEST(RenderSuite, NamesAreUniqueAndFindable) {
    std::set<std::string> names;
    for (const RenderCase& c : renderSuite()) {
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_EQ(findCase(c.name), &c);
        EXPECT_GT(c.frames, 0);
    }
    EXPECT_EQ(findCase("no-such-case"), nullptr);
}

TEST(RenderSuite, CoversEverySampleRateAndSignal) {
    std::set<float> rates;
    std::set<SignalKind> signals;
    std::set<Precision> precisions;
    for (const RenderCase& c : renderSuite()) {
        rates.insert(c.sampleRate);
        signals.insert(c.signal.kind);
        precisions.insert(c.precision);
    }
    for (float rate : {44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f, 22050.0f, 32000.0f}) {
        EXPECT_EQ(rates.count(rate), 1u) << rate;
    }
    EXPECT_EQ(signals.size(), 6u);
    EXPECT_EQ(precisions.size(), 3u);
    EXPECT_TRUE(any([](const RenderCase& c) { return c.signal.level == 1e-40; }));
    EXPECT_TRUE(any([](const RenderCase& c) { return c.signal.level == 1e-38; }));
}

TEST(RenderSuite, CoversTheParameterSettings) {
    EXPECT_TRUE(any([](const RenderCase& c) { return !c.parameters; }));
    auto has = [](ParameterSet wanted) {
        for (const RenderCase& c : renderSuite()) {
            if (c.parameters == wanted) return true;
        }
        return false;
    };
    EXPECT_TRUE(has({0, 0, 0, 0, 0}));
    EXPECT_TRUE(has({1, 1, 1, 1, 1}));
    // Gain and Dry/Wet at 0.5 and at 0; something above one.
    EXPECT_TRUE(any([](const RenderCase& c) {
        return c.parameters && (*c.parameters)[3] == 0.5f && (*c.parameters)[4] == 0.5f;
    }));
    EXPECT_TRUE(any([](const RenderCase& c) { return c.parameters && (*c.parameters)[3] == 0; }));
    EXPECT_TRUE(any([](const RenderCase& c) { return c.parameters && (*c.parameters)[4] == 0; }));
    EXPECT_TRUE(any([](const RenderCase& c) {
        if (!c.parameters) return false;
        for (float v : *c.parameters) {
            if (v > 1.0f) return true;
        }
        return false;
    }));
}

TEST(RenderSuite, CoversBlockPatternsAndChangesBetweenBlocks) {
    std::set<int> sizes;
    for (const RenderCase& c : renderSuite()) sizes.insert(c.blocks.begin(), c.blocks.end());
    EXPECT_EQ(sizes.count(0), 1u);
    EXPECT_EQ(sizes.count(1), 1u);
    EXPECT_TRUE(std::any_of(sizes.begin(), sizes.end(), [](int s) { return s > 1 && s % 2; }));
    EXPECT_TRUE(any([](const RenderCase& c) { return !c.parameterSteps.empty(); }));
    EXPECT_TRUE(any([](const RenderCase& c) { return !c.rateSteps.empty(); }));
}

TEST(RenderSuite, FitsTheEmulatorBudget) {
    long frames = 0;
    for (const RenderCase& c : renderSuite()) frames += c.frames;
    // qemu renders about 25,000 frames a second; keep the reference run to about a minute.
    EXPECT_LT(frames, 2000000);
}

}  // namespace
}  // namespace tovrel::render
