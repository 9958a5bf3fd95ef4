// Unique IDs are four characters packed into an integer; people want to see the characters.
#pragma once

#include <string>

#include "frame/aeffect.h"

namespace tovrel {

// "tvrl" for a printable code, otherwise the number in hexadecimal ("0x0000002a").
std::string fourCharText(VstInt32 code);

}  // namespace tovrel
