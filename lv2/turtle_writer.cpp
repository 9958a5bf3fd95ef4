// Writes the bundle's two Turtle files from the parameter table, so the LV2 description cannot
// drift from what the VST 2 face shows: `tovrel_lv2_turtle BUNDLE_DIR MINOR MICRO`.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "effect/parameter_table.h"
#include "lv2/identity.h"
#include "lv2/ports.h"

namespace tovrel::lv2 {
namespace {

const char kPrefixes[] =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n\n";

// The shortest decimal that reads back as the same float, always with a point (a decimal literal).
std::string decimal(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    std::string result = text;
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string manifest() {
    return std::string(kPrefixes) + "<" + kPluginUri + ">\n    a lv2:Plugin ;\n    lv2:binary <" +
           kBinaryName + "> ;\n    rdfs:seeAlso <" + kTurtleName + "> .\n";
}

std::string controlPort(ParameterIndex index) {
    const ParameterInfo& parameter = kParameterTable[index];
    return "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " +
           std::to_string(index) + " ;\n        lv2:symbol \"" + controlSymbol(index) +
           "\" ;\n        lv2:name \"" + parameter.name + "\" ;\n        lv2:default " +
           decimal(parameter.defaultValue) +
           " ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0\n    ]";
}

std::string audioPort(const AudioPort& port) {
    return std::string("[\n        a lv2:") + (port.output ? "OutputPort" : "InputPort") +
           " , lv2:AudioPort ;\n        lv2:index " + std::to_string(port.index) +
           " ;\n        lv2:symbol \"" + port.symbol + "\" ;\n        lv2:name \"" + port.name +
           "\"\n    ]";
}

std::string plugin(const std::string& minor, const std::string& micro) {
    std::string ports;
    for (int i = 0; i < kNumParameters; ++i) {
        ports += (i == 0 ? "" : " , ") + controlPort(static_cast<ParameterIndex>(i));
    }
    for (const AudioPort& port : kAudioPorts) ports += " , " + audioPort(port);
    // An equaliser first: its controls shape bands, whose drive adds the saturation. A project
    // too, as the maintainer's property asks of its subject.
    return std::string(kPrefixes) + "<" + kPluginUri +
           ">\n    a lv2:Plugin , lv2:EQPlugin , doap:Project ;\n    doap:name \"" + kPluginName +
           "\" ;\n    doap:maintainer [\n        foaf:name \"" + kVendorName +
           "\"\n    ] ;\n    lv2:minorVersion " + minor + " ;\n    lv2:microVersion " + micro +
           " ;\n    lv2:optionalFeature lv2:hardRTCapable ;\n    lv2:port " + ports + " .\n";
}

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

}  // namespace
}  // namespace tovrel::lv2

int main(int argc, char** argv) {
    using namespace tovrel::lv2;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BUNDLE_DIR MINOR_VERSION MICRO_VERSION\n", argv[0]);
        return 2;
    }
    const std::string bundle = argv[1];
    if (!write(bundle + "/manifest.ttl", manifest()) ||
        !write(bundle + "/" + kTurtleName, plugin(argv[2], argv[3]))) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
