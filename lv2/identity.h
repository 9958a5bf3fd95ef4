// Who the LV2 face says it is. The URI names this plug-in for good: hosts store it in sessions.
#pragma once

namespace tovrel::lv2 {

constexpr char kPluginUri[] = "urn:fellmarrow:tovrel";
constexpr char kPluginName[] = "Tovrel";
constexpr char kVendorName[] = "fellmarrow";
constexpr char kBinaryName[] = "Tovrel.so";
constexpr char kTurtleName[] = "Tovrel.ttl";

}  // namespace tovrel::lv2
