// Whether two paths name one file, however they are spelled (links, "./", "..").
#pragma once

#include <string>

namespace tovrel {

// True when both exist and share device and inode.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace tovrel
