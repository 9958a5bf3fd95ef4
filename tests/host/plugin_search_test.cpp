// Finding plug-ins by name and probing them apart from the host process.
#include "host/plugin_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host/host_error.h"
#include "host/plugin_probe.h"
#include "test_support.h"

namespace tovrel {
namespace {
namespace fs = std::filesystem;

// Places a copy of a built fake under root/relative.
std::string place(const test::TempDir& dir, const std::string& relative, const char* fake) {
    const fs::path target = dir.path(relative);
    fs::create_directories(target.parent_path());
    fs::copy_file(fake, target);
    return target.string();
}

std::size_t positionOf(const std::vector<std::string>& folders, const std::string& folder) {
    return static_cast<std::size_t>(std::find(folders.begin(), folders.end(), folder) -
                                    folders.begin());
}

TEST(PluginSearch, FoldersInTheOrderHostsUse) {
    const auto folders = searchFolders({"/a:/b::/a", "/c", "/home/u"});
    ASSERT_GE(folders.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(folders.begin(), folders.begin() + 4),
              (std::vector<std::string>{"/a", "/b", "/c", "/home/u/.vst"}));
    EXPECT_LT(positionOf(folders, "/home/u/.vst"), positionOf(folders, "/usr/local/lib/vst"));
    EXPECT_LT(positionOf(folders, "/usr/local/lib/vst"), positionOf(folders, "/usr/lib/vst"));
    for (const char* variant : {"/usr/lib/lxvst", "/usr/lib/linux_vst", "/usr/lib64/vst",
                                "/usr/local/lib64/lxvst", "/home/u/.lxvst"}) {
        EXPECT_LT(positionOf(folders, variant), folders.size()) << variant;
    }
}

TEST(PluginSearch, FirstFolderHoldingTheNameWinsAndPathsAreKept) {
    const test::TempDir dir;
    const std::string first = place(dir, "vst/deep/er/Same.so", FAKE_STEREO);
    place(dir, "lxvst/Same.so", FAKE_STEREO);
    const std::vector<std::string> folders{dir.path("empty"), dir.path("vst"), dir.path("lxvst")};
    EXPECT_EQ(resolvePlugin("Same", folders), first);
    EXPECT_EQ(resolvePlugin("Same.so", folders), first);
    EXPECT_EQ(resolvePlugin("/not/there/Same.so", folders), "/not/there/Same.so");
    EXPECT_THROW(resolvePlugin("Other", folders), HostError);
}

TEST(PluginSearch, TwoFilesOfOneNameInAFolderAreAnErrorListingBoth) {
    const test::TempDir dir;
    const std::string a = place(dir, "vst/a/Twice.so", FAKE_STEREO);
    const std::string b = place(dir, "vst/b/Twice.so", FAKE_MONO_IN);
    try {
        resolvePlugin("Twice", {dir.path("vst")});
        FAIL() << "an ambiguous name was resolved";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find(a), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(b), std::string::npos) << e.what();
    }
    // One file seen twice through a link is still one plug-in.
    fs::create_directories(dir.path("links"));
    fs::create_symlink(a, dir.path("links/Once.so"));
    fs::create_symlink(a, dir.path("links/Twice.so"));
    EXPECT_EQ(pluginFiles({dir.path("vst"), dir.path("links")}).size(), 2u);
}

TEST(PluginProbe, CrashesAndHangsCostOneLineEach) {
    const std::vector<std::string> files{FAKE_STEREO, FAKE_CRASH, FAKE_HANG, FAKE_NO_ENTRY,
                                         FAKE_CHUNKS};
    const auto found = probePlugins(files, std::chrono::milliseconds(700), 2);
    ASSERT_EQ(found.size(), files.size());
    EXPECT_TRUE(found[0].loaded) << found[0].problem;
    EXPECT_EQ(found[0].name, "Fake");
    EXPECT_EQ(found[0].uniqueId, fourCharCode('F', 'a', 'k', 'e'));
    EXPECT_EQ(found[0].inputs, 2);
    EXPECT_EQ(found[0].outputs, 2);
    EXPECT_FALSE(found[1].loaded);
    EXPECT_NE(found[1].problem.find("crashed"), std::string::npos) << found[1].problem;
    EXPECT_FALSE(found[2].loaded);
    EXPECT_NE(found[2].problem.find("no answer within 700 ms"), std::string::npos)
        << found[2].problem;
    EXPECT_FALSE(found[3].loaded);
    EXPECT_NE(found[3].problem.find("VSTPluginMain"), std::string::npos) << found[3].problem;
    EXPECT_TRUE(found[4].loaded) << found[4].problem;
    EXPECT_EQ(found[4].uniqueId, fourCharCode('F', 'k', 'C', 'h'));
}

}  // namespace
}  // namespace tovrel
