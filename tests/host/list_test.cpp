// tovrel list and --plugin NAME as a user runs them, with the plug-ins in VST_PATH and the
// Debian ones in /usr/lib/vst.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "test_support.h"

namespace tovrel {
namespace {
namespace fs = std::filesystem;

// Points VST_PATH and HOME at a fresh folder for one test.
class ListFixture : public ::testing::Test {
  protected:
    test::TempDir dir;
    void SetUp() override {
        fs::create_directories(dir.path("vst/broken"));
        fs::copy_file(FAKE_STEREO, dir.path("vst/Fake.so"));
        fs::copy_file(FAKE_CRASH, dir.path("vst/broken/Crash.so"));
        fs::copy_file(FAKE_HANG, dir.path("vst/broken/Hang.so"));
        saved_ = {get("VST_PATH"), get("LXVST_PATH"), get("HOME")};
        setenv("VST_PATH", dir.path("vst").c_str(), 1);
        unsetenv("LXVST_PATH");
        setenv("HOME", dir.root.c_str(), 1);
    }
    void TearDown() override {
        restore("VST_PATH", saved_[0]);
        restore("LXVST_PATH", saved_[1]);
        restore("HOME", saved_[2]);
    }

  private:
    static std::string get(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(1, '=') + value : "";
    }
    static void restore(const char* name, const std::string& saved) {
        if (saved.empty()) {
            unsetenv(name);
        } else {
            setenv(name, saved.c_str() + 1, 1);
        }
    }
    std::vector<std::string> saved_;
};

TEST_F(ListFixture, JsonListsEveryPluginAndOneProblemPerBrokenFile) {
    const auto result = test::runTovrel({"list", "--json", "--timeout", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto listing = nlohmann::json::parse(result.out);
    bool fake = false, debian = false;
    for (const auto& p : listing.at("plugins")) {
        if (p.at("path") == dir.path("vst/Fake.so")) {
            fake = true;
            EXPECT_EQ(p.at("name"), "Fake");
            EXPECT_EQ(p.at("idText"), "Fake");
            EXPECT_EQ(p.at("inputs"), 2);
            EXPECT_EQ(p.at("outputs"), 2);
        }
        if (p.at("path") == "/usr/lib/vst/3BandEQ-vst.so") {
            debian = true;
            EXPECT_EQ(p.at("vendor"), "DISTRHO");
            EXPECT_EQ(p.at("inputs"), 2);
        }
    }
    EXPECT_TRUE(fake) << result.out;
    EXPECT_TRUE(debian || !fs::exists("/usr/lib/vst/3BandEQ-vst.so"));
    std::map<std::string, std::string> problems;
    for (const auto& p : listing.at("problems")) problems[p.at("path")] = p.at("problem");
    EXPECT_NE(problems[dir.path("vst/broken/Crash.so")].find("crashed"), std::string::npos);
    EXPECT_NE(problems[dir.path("vst/broken/Hang.so")].find("no answer"), std::string::npos);
}

TEST_F(ListFixture, TableHasOneRowPerPlugin) {
    const auto result = test::runTovrel({"list", "--timeout", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("NAME"), std::string::npos);
    EXPECT_NE(result.out.find("Fake (1180789605)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("not listed: " + dir.path("vst/broken/Hang.so")), std::string::npos);
}

TEST_F(ListFixture, PluginByNameFromVstPathThenTheDebianFolders) {
    const auto fake = test::runTovrel({"info", "--plugin", "Fake"});
    EXPECT_EQ(fake.exitCode, 0) << fake.err;
    EXPECT_NE(fake.out.find(dir.path("vst/Fake.so")), std::string::npos) << fake.out;
    if (fs::exists("/usr/lib/vst/3BandEQ-vst.so")) {
        const auto eq = test::runTovrel({"info", "--plugin", "3BandEQ-vst"});
        EXPECT_EQ(eq.exitCode, 0) << eq.err;
        EXPECT_NE(eq.out.find("3 Band EQ"), std::string::npos) << eq.out;
    }
    fs::copy_file(FAKE_MONO_IN, dir.path("vst/broken/Fake.so"));
    const auto ambiguous = test::runTovrel({"info", "--plugin", "Fake"});
    EXPECT_EQ(ambiguous.exitCode, 1);
    EXPECT_NE(ambiguous.err.find("ambiguous"), std::string::npos) << ambiguous.err;
    EXPECT_NE(ambiguous.err.find(dir.path("vst/broken/Fake.so")), std::string::npos);
}

}  // namespace
}  // namespace tovrel
