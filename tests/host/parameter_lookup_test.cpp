// Parameters named as the plug-in reports them, or by index, with normalised values.
#include "host/parameter_lookup.h"

#include <gtest/gtest.h>

#include "host/host_error.h"

namespace tovrel {
namespace {

class ParameterLookupTest : public ::testing::Test {
  protected:
    std::unique_ptr<Plugin> plugin = Plugin::open(FAKE_STEREO);  // "Gain", "Pan Law"

    std::string errorOf(const std::string& text, bool allow = false) {
        try {
            parseAssignment(*plugin, text, allow);
        } catch (const HostError& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(ParameterLookupTest, FindsNamesWithoutRegardToCaseOrSpacesAndIndices) {
    EXPECT_EQ(findParameter(*plugin, "gain"), 0);
    EXPECT_EQ(findParameter(*plugin, " PAN LAW "), 1);
    EXPECT_EQ(findParameter(*plugin, "1"), 1);
    const ParameterAssignment assignment = parseAssignment(*plugin, "pan law=0.75", false);
    EXPECT_EQ(assignment.index, 1);
    EXPECT_FLOAT_EQ(assignment.value, 0.75f);
}

TEST_F(ParameterLookupTest, RefusesUnknownNamesAndIndices) {
    EXPECT_NE(errorOf("Volume=0.5").find("unknown parameter 'Volume'"), std::string::npos);
    EXPECT_NE(errorOf("2=0.5").find("no parameter with index 2"), std::string::npos);
    EXPECT_NE(errorOf("99999999999999999999=0.5").find("no parameter with index"),
              std::string::npos);
    EXPECT_NE(errorOf("-1=0.5").find("unknown parameter"), std::string::npos);
}

TEST_F(ParameterLookupTest, RefusesMalformedSettingsAndValues) {
    for (const char* text : {"Gain", "=0.5", "Gain=", "Gain=loud", "Gain=0.5x", "Gain=nan",
                             "Gain=inf", "Gain=1e999"}) {
        EXPECT_NE(errorOf(text).find("malformed"), std::string::npos) << text;
    }
}

TEST_F(ParameterLookupTest, OutOfRangeValuesNeedPermission) {
    EXPECT_NE(errorOf("Gain=1.5").find("out of range"), std::string::npos);
    EXPECT_NE(errorOf("Gain=-0.01").find("out of range"), std::string::npos);
    EXPECT_EQ(errorOf("Gain=1.5", true), "");
    EXPECT_EQ(errorOf("Gain=0"), "");
    EXPECT_EQ(errorOf("Gain=1"), "");
}

}  // namespace
}  // namespace tovrel
