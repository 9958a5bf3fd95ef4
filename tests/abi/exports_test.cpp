// The binary shows a host its entry points, the factory and the capability strings; nothing
// of ours or of the bundled C++ runtime may leak into a host's symbol space.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "frame/aeffect.h"

namespace {

// The names nm lists for the binary's dynamic symbols, without their version.
std::set<std::string> dynamicSymbols(const std::string& path, const char* which) {
    std::set<std::string> names;
    FILE* pipe = popen(("nm -D " + std::string(which) + " '" + path + "'").c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string first, second, third;
        fields >> first >> second >> third;
        const std::string name = third.empty() ? second : third;  // undefined ones have no address
        names.insert(name.substr(0, name.find('@')));
    }
    pclose(pipe);
    return names;
}

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    return dynamicSymbols(path, "--defined-only");
}

bool allowed(const std::string& name) {
    auto startsWith = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
    return name == "VSTPluginMain" || name == "main_macho" ||
           startsWith("_Z20createEffectInstance") || startsWith("_ZN10HostCanDos") ||
           startsWith("_ZN10PlugCanDos");
}

TEST(TovrelExports, OnlyEntryPointsFactoryAndCapabilityStrings) {
    const auto names = definedDynamicSymbols(TOVREL_PLUGIN_PATH);
    ASSERT_FALSE(names.empty()) << "nm found no symbols";
    for (const auto& name : names) EXPECT_TRUE(allowed(name)) << "unexpected export " << name;
    EXPECT_EQ(names.count("VSTPluginMain"), 1u);
    EXPECT_EQ(names.count("main_macho"), 1u);
    // The pointer-sized value argument mangles as long on 64-bit targets and int on 32-bit ones.
    const char* factory = sizeof(VstIntPtr) == 8 ? "_Z20createEffectInstancePFlP7AEffectiilPvfE"
                                                 : "_Z20createEffectInstancePFiP7AEffectiiiPvfE";
    EXPECT_EQ(names.count(factory), 1u);
    int hostCanDos = 0, plugCanDos = 0;
    for (const auto& name : names) {
        hostCanDos += name.rfind("_ZN10HostCanDos", 0) == 0;
        plugCanDos += name.rfind("_ZN10PlugCanDos", 0) == 0;
    }
    EXPECT_EQ(hostCanDos, 14);
    EXPECT_EQ(plugCanDos, 8);
}

// The sound must not depend on the system's maths library, whose last bits differ between
// systems and processors: the plug-in brings its own pow and tan.
TEST(TovrelImports, NoSystemMathsOnTheSoundsPath) {
    const auto imports = dynamicSymbols(TOVREL_PLUGIN_PATH, "--undefined-only");
    ASSERT_FALSE(imports.empty()) << "nm found no imports";
    for (const char* name :
         {"pow", "powf", "tan", "tanf", "exp", "exp2", "expf", "log", "logf", "log2", "sin", "cos"})
        EXPECT_EQ(imports.count(name), 0u) << "the plug-in imports " << name;
}

}  // namespace
