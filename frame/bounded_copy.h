// The one way texts are handed to a host: at most n characters, zero-padded, and always a
// terminator at position n, so exactly n + 1 bytes are written.
#pragma once

#include <cstddef>

void boundedCopy(char* destination, const char* source, std::size_t n);
