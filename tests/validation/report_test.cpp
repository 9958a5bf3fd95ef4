// The report shapes: one line per check, JSON and JUnit that other tools read.
#include "host/validation/report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace tovrel::validation {
namespace {

std::vector<CheckResult> someResults() {
    return {{"load.entry", 1, passed(), 0.25},
            {"text.identity", 1, failed("effect name: expected <33 bytes & \"quotes\""), 0.5},
            {"programs.names", 3, skipped("the plug-in has no programs"), 0.0},
            {"determinism.instances-float", 6, informed("differ by up to 1e-9"), 1.0}};
}

TEST(Report, LinesAndJsonCarryVerdictNameAndDetail) {
    const auto results = someResults();
    EXPECT_EQ(resultLine(results[0]), "PASS  load.entry");
    EXPECT_EQ(resultLine(results[2]).rfind("SKIP  programs.names", 0), 0u);
    EXPECT_NE(resultLine(results[2]).find("the plug-in has no programs"), std::string::npos);
    const auto json = nlohmann::json::parse(jsonReport({"x.so", 6, 9}, results));
    EXPECT_EQ(json["seed"], 9);
    EXPECT_EQ(json["checks"][1]["verdict"], "fail");
    EXPECT_EQ(json["checks"][1]["detail"], "effect name: expected <33 bytes & \"quotes\"");
    EXPECT_EQ(json["totals"]["fail"], 1);
    EXPECT_EQ(json["totals"]["info"], 1);
}

TEST(Report, JunitEscapesAndCounts) {
    const std::string xml = junitReport({"a&b.so", 6, 1}, someResults());
    EXPECT_NE(xml.find("name=\"tovrel validate a&amp;b.so\" tests=\"4\" failures=\"1\" "
                       "skipped=\"1\" time=\"1.750\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<failure message=\"effect name: expected &lt;33 bytes &amp; "
                       "&quot;quotes&quot;\"/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<system-out>INFO: differ by up to 1e-9</system-out>"), std::string::npos);
}

}  // namespace
}  // namespace tovrel::validation
