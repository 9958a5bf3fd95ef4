// The binary shows a host its entry points, the factory and the capability strings; nothing
// of ours or of the bundled C++ runtime may leak into a host's symbol space.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "frame/aeffect.h"

namespace {

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::set<std::string> names;
    FILE* pipe = popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) names.insert(name);
    }
    pclose(pipe);
    return names;
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

}  // namespace
