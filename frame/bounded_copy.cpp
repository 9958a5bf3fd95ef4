#include "frame/bounded_copy.h"

#include <cstring>

void boundedCopy(char* destination, const char* source, std::size_t n) {
    if (destination == nullptr) return;
    // A missing source reads as the empty text rather than a crash.
    std::strncpy(destination, source != nullptr ? source : "", n);
    destination[n] = '\0';
}
