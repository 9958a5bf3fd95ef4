#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

std::string display(Tovrel& effect, VstInt32 index) {
    char text[16] = {};
    effect.getParameterDisplay(index, text);
    return text;
}

TEST(TovrelParameters, StoresHostValuesUnchangedAndShowsTruncatedDigits) {
    auto effect = testing::makeTovrel();
    const std::tuple<VstInt32, float, const char*> cases[] = {
        {2, 1.7f, "1.700000"}, {0, 0.7f, "0.699999"}, {4, -0.25f, "-0.25000"}};
    for (const auto& [index, value, text] : cases) {
        effect->setParameter(index, value);
        EXPECT_EQ(effect->getParameter(index), value);
        EXPECT_EQ(display(*effect, index), text);
    }
}

TEST(TovrelParameters, OutOfRangeIndicesChangeAndWriteNothing) {
    auto effect = testing::makeTovrel();
    for (VstInt32 index : {5, -1, 1000, -2147483647 - 1}) {
        effect->setParameter(index, 0.3f);
        EXPECT_EQ(effect->getParameter(index), 0.0f);
        char text[12];
        std::memset(text, 0x5A, sizeof text);
        effect->getParameterName(index, text);
        effect->getParameterLabel(index, text);
        effect->getParameterDisplay(index, text);
        EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, 0x5A));
    }
    const float defaults[] = {0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
    for (VstInt32 i = 0; i < 5; ++i) EXPECT_EQ(effect->getParameter(i), defaults[i]);
}

}  // namespace
}  // namespace tovrel
