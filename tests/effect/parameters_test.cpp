#include <gtest/gtest.h>

#include <cstring>

#include "tovrel_fixture.h"

namespace tovrel {
namespace {

using testing::makeTovrel;

std::string display(Tovrel& effect, VstInt32 index) {
    char text[16] = {};
    effect.getParameterDisplay(index, text);
    return text;
}

TEST(TovrelParameters, DefaultsNamesLabelsAndDisplays) {
    auto effect = makeTovrel();
    const char* names[] = {"Trim", "Hi", "Lo", "Gain", "Dry/Wet"};
    const float defaults[] = {0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
    const char* displays[] = {"0.100000", "0.500000", "0.500000", "1.000000", "1.000000"};
    for (VstInt32 i = 0; i < 5; ++i) {
        EXPECT_EQ(effect->getParameter(i), defaults[i]);
        char name[12];
        std::memset(name, 0x5A, sizeof name);
        effect->getParameterName(i, name);
        EXPECT_STREQ(name, names[i]);
        for (std::size_t k = std::strlen(names[i]); k <= 8; ++k) EXPECT_EQ(name[k], 0);
        EXPECT_EQ(name[9], 0x5A);
        char label[12];
        std::memset(label, 0x5A, sizeof label);
        effect->getParameterLabel(i, label);
        for (int k = 0; k <= 8; ++k) EXPECT_EQ(label[k], 0);
        EXPECT_EQ(label[9], 0x5A);
        EXPECT_EQ(display(*effect, i), displays[i]);
    }
}

TEST(TovrelParameters, StoresHostValuesUnchanged) {
    auto effect = makeTovrel();
    effect->setParameter(2, 1.7f);
    EXPECT_EQ(effect->getParameter(2), 1.7f);
    EXPECT_EQ(display(*effect, 2), "1.700000");
    effect->setParameter(0, 0.7f);
    EXPECT_EQ(display(*effect, 0), "0.699999");  // digits are truncated, never rounded
    effect->setParameter(4, -0.25f);
    EXPECT_EQ(effect->getParameter(4), -0.25f);
}

TEST(TovrelParameters, OutOfRangeIndicesChangeAndWriteNothing) {
    auto effect = makeTovrel();
    for (VstInt32 index : {5, -1, 1000, -2147483647 - 1}) {
        effect->setParameter(index, 0.3f);
        EXPECT_EQ(effect->getParameter(index), 0.0f);
        char text[12];
        std::memset(text, 0x5A, sizeof text);
        effect->getParameterName(index, text);
        effect->getParameterLabel(index, text);
        effect->getParameterDisplay(index, text);
        for (char c : text) EXPECT_EQ(c, 0x5A);
    }
    const float defaults[] = {0.1f, 0.5f, 0.5f, 1.0f, 1.0f};
    for (VstInt32 i = 0; i < 5; ++i) EXPECT_EQ(effect->getParameter(i), defaults[i]);
}

}  // namespace
}  // namespace tovrel
