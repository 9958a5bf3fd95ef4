// tovrel plot as a user runs it: the same command gives the same bytes, the CSV holds the
// numbers behind the picture, and bad requests are refused before anything is written.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "test_support.h"

namespace tovrel {

using Args = std::vector<std::string>;

class PlotCommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;

    test::CommandResult plot(Args extra, const char* plugin = FAKE_CLIPPER) {
        Args args = {"plot", "--plugin", plugin};
        args.insert(args.end(), extra.begin(), extra.end());
        return test::runTovrel(args);
    }
};

// Width and height from a PNG's header chunk, which always comes first.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes) {
    auto word = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value << 8 | (unsigned char)bytes.at(at + i);
        return value;
    };
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    return {word(16), word(20)};
}

TEST_F(PlotCommandTest, SameCommandGivesTheSameBytesAsPngAndSvg) {
    for (const std::string suffix : {".png", ".svg"}) {
        const std::string first = dir.path("first" + suffix), second = dir.path("second" + suffix);
        const Args args = {"--compare", "Gain=0.25", "--what", "response,harmonics"};
        Args a = args, b = args;
        a.insert(a.end(), {"-o", first});
        b.insert(b.end(), {"-o", second});
        ASSERT_EQ(plot(a).exitCode, 0);
        ASSERT_EQ(plot(b).exitCode, 0);
        const std::string bytes = test::readText(first);
        EXPECT_GT(bytes.size(), 10000u) << suffix;
        EXPECT_EQ(bytes, test::readText(second)) << suffix;
        if (suffix == ".png") {
            EXPECT_EQ(pngSize(bytes), std::make_pair(1200u, 800u));
        }
        if (suffix == ".svg") {
            EXPECT_NE(bytes.find("viewBox=\"0 0 1200 800\""), std::string::npos);
        }
    }
}

TEST_F(PlotCommandTest, CsvHoldsEveryMeasuredNumberForEachSetting) {
    const std::string csv = dir.path("numbers.csv");
    const test::CommandResult result =
        plot({"--set", "Gain=0.25", "--compare", "Gain=0.5,Pan Law=0.75", "--csv", csv});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(dir.entries(), std::set<std::string>{"numbers.csv"});  // no picture asked for
    std::istringstream lines(test::readText(csv));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "setting,quantity,channel,x,x_unit,y,y_unit");
    std::map<std::string, int> counts;
    while (std::getline(lines, line)) {
        const bool compared = line.rfind("\"Gain=0.5, Pan Law=0.75\",", 0) == 0;
        ASSERT_TRUE(compared || line.rfind("Gain=0.25,", 0) == 0) << line;
        std::string quantity = line.substr(line.find(compared ? "\"," : ",") + (compared ? 2 : 1));
        quantity = quantity.substr(0, quantity.find(','));
        ++counts[quantity + (compared ? " compared" : "")];
        const double y = std::stod(line.substr(line.rfind(',', line.rfind(',') - 1) + 1));
        // Gain 0.25 halves the level; the compared setting's gain of 1 clips at +-0.5.
        if (quantity == "magnitude") {
            EXPECT_NEAR(y, compared ? 0.0 : -6.0206, 1e-4) << line;
        }
        if (quantity == "phase") {
            EXPECT_NEAR(y, 0.0, 1e-9) << line;
        }
        if (quantity == "thd" && !compared) {
            EXPECT_LT(y, 1e-4) << line;
        }
    }
    EXPECT_EQ(counts["transfer"], 67);
    EXPECT_EQ(counts["transfer compared"], 67);
    EXPECT_EQ(counts["harmonic 1"], 2);  // one per channel
    EXPECT_EQ(counts["harmonic 10"], 2);
    EXPECT_EQ(counts["magnitude"], counts["phase"]);
    EXPECT_GT(counts["magnitude"], 2 * 250);
    EXPECT_GT(counts["spectrum compared"], 2 * 500);
}

TEST_F(PlotCommandTest, BadRequestsAreRefusedInOneLineBeforeAnyWork) {
    const std::pair<Args, std::string> cases[] = {
        {{"-o", dir.path("p.jpg")}, "name it .png or .svg"},
        {{"--what", "response,noise"}, "unknown measurement 'noise'"},
        {{"--what", ","}, "names no measurement"},
        {{"--compare", "Volume=1"}, "unknown parameter 'Volume'"},
        {{"--compare", ","}, "sets nothing"},
        {{"--set", "Gain=2"}, "out of range"},
        {{"--precision", "double"}, "double precision"},
        {{"--rate", "100"}, "--rate"},
        {{"-o", dir.path("missing/p.png")}, "missing"},
    };
    for (const auto& [args, fragment] : cases) {
        Args full = args;
        if (full.front() != "-o") full.insert(full.end(), {"-o", dir.path("p.png")});
        const test::CommandResult result = plot(full, FAKE_STEREO);
        EXPECT_NE(result.exitCode, 0) << fragment;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
        EXPECT_TRUE(dir.entries().empty()) << fragment;
    }
}

}  // namespace tovrel
