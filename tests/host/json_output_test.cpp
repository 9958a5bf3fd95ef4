// Every command's --json document, parsed with the library that wrote it and held against
// the same command's text output.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {

using nlohmann::json;

std::string fixed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The text line that starts with `prefix` after its indent, without the indent; or "".
std::string lineStarting(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.compare(start, prefix.size(), prefix) == 0) {
            return line.substr(start);
        }
    }
    return "";
}

json parsedOutput(std::vector<std::string> args) {
    const test::CommandResult result = test::runTovrel(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return json::parse(result.out);  // throws, failing the test, unless it is one document
}

TEST(JsonOutputTest, InfoTellsWhatTheTextTells) {
    const std::string text = test::runTovrel({"info", "--plugin", FAKE_CHUNKS}).out;
    const json info = parsedOutput({"info", "--plugin", FAKE_CHUNKS, "--json"});
    EXPECT_EQ("Effect      " + info["effect"].get<std::string>(), lineStarting(text, "Effect"));
    EXPECT_EQ("Unique ID   " + info["uniqueId"].get<std::string>(), lineStarting(text, "Unique"));
    EXPECT_EQ(lineStarting(text, "Channels"),
              "Channels    " + info["inputs"].dump() + " in, " + info["outputs"].dump() + " out");
    EXPECT_EQ(lineStarting(text, "Version").substr(12, 1), info["vendorVersion"].dump());
    EXPECT_EQ(info["flags"], json({"CanReplacing", "ProgramChunks", "CanDoubleReplacing"}));
    ASSERT_EQ(info["parameters"].size(), 2u);
    for (const json& parameter : info["parameters"]) {
        const std::string line = lineStarting(text, parameter["index"].dump() + "  ");
        EXPECT_NE(line.find(parameter["name"].get<std::string>()), std::string::npos) << line;
        EXPECT_NE(line.find(fixed("%10.6f", parameter["value"].get<double>())), std::string::npos)
            << line;
    }
    EXPECT_EQ(info["canDo"].size(), 25u);
    EXPECT_EQ(lineStarting(text, "offline "),
              "offline                " + info["canDo"]["offline"].get<std::string>());
}

TEST(JsonOutputTest, RenderSummaryTellsWhatTheTextTells) {
    const test::TempDir dir;
    const std::string in = dir.path("in.wav"), out = dir.path("out.wav");
    test::writeAudio(in, {2, 44100, std::vector<double>(2 * 4410, 0.25)});
    const std::vector<std::string> args = {"render",
                                           in,
                                           out,
                                           "--plugin",
                                           FAKE_STEREO,
                                           "--set",
                                           "Gain=4",
                                           "--allow-out-of-range",
                                           "--bits",
                                           "16",
                                           "--noise-seeds",
                                           "99999,88888"};
    const std::string text = test::runTovrel(args).out;
    std::vector<std::string> withJson = args;
    withJson.push_back("--json");
    const json render = parsedOutput(withJson);
    EXPECT_EQ(render["noiseSeeds"], nlohmann::json::array({99999, 88888}));
    EXPECT_EQ(render["set"], json({"Gain=4"}));
    EXPECT_EQ(render["parameters"][0]["value"], 4.0);
    const json& summary = render["summary"];
    for (const char* side : {"input", "output"}) {
        for (const json& channel : summary[side]) {
            char label[32];
            std::snprintf(label, sizeof label, "%-6s ch %d", side, channel["channel"].get<int>());
            const std::string line = lineStarting(text, label);
            ASSERT_FALSE(line.empty()) << label;
            EXPECT_NE(line.find(fixed("%9.2f", channel["peakDbfs"].get<double>())),
                      std::string::npos)
                << line;
            EXPECT_NE(line.find(fixed("%9.2f", channel["rmsDbfs"].get<double>())),
                      std::string::npos)
                << line;
        }
    }
    EXPECT_EQ(summary["clippedSamples"], 8820);  // a gain of 8 drives 0.25 past full scale
    EXPECT_NE(text.find(summary["clippedSamples"].dump() + " samples clipped"), std::string::npos);
    EXPECT_EQ(summary["frames"], 4410);
    EXPECT_GT(summary["realtimeFactor"].get<double>(), 0.0);
}

TEST(JsonOutputTest, PlotNumbersAreTheOnesTheTextSummarises) {
    const std::vector<std::string> args = {"plot",      "--plugin",  FAKE_CLIPPER,
                                           "--compare", "Gain=0.25", "--level",
                                           "0",         "--csv",     "/dev/null"};
    const std::string text = test::runTovrel(args).out;
    std::vector<std::string> withJson = args;
    withJson.push_back("--json");
    const json plot = parsedOutput(withJson);
    EXPECT_EQ(plot["sampleRate"], 44100);
    ASSERT_EQ(plot["settings"].size(), 2u);
    EXPECT_EQ(plot["settings"][0]["label"], "defaults");
    EXPECT_EQ(plot["settings"][1]["assignments"], json({"Gain=0.25"}));
    const json& harmonics = plot["settings"][0]["harmonics"]["channels"][0];
    const std::string line = lineStarting(text, "harmonics ch 1");
    EXPECT_NE(line.find("THD " + fixed("%.4g", harmonics["thdPercent"].get<double>()) + "%"),
              std::string::npos)
        << line;
    EXPECT_NE(
        line.find("H3 " + fixed("%.1f", harmonics["harmonics"][2]["relativeDb"].get<double>())),
        std::string::npos)
        << line;
    const json& transfer = plot["settings"][0]["transfer"];
    EXPECT_EQ(transfer["inputDbfs"][66], 6.0);
    EXPECT_NE(
        lineStarting(text, "transfer")
            .find("+6 dBFS in " + fixed("%.2f", transfer["outputPeakDbfs"][66].get<double>())),
        std::string::npos);
    const json& response = plot["settings"][1]["response"];
    EXPECT_EQ(response["levelDbfs"], -40.0);
    EXPECT_FALSE(response["channelsDiffer"].get<bool>());
    EXPECT_TRUE(response["channels"][0]["upperCornerHz"].is_null());  // a gain has no corner
    EXPECT_EQ(response["channels"][0]["frequencyHz"].size(),
              response["channels"][0]["magnitudeDb"].size());
}

}  // namespace tovrel
