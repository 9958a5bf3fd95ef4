// Whole small files (presets) in and out of memory.
#pragma once

#include <string>
#include <vector>

namespace tovrel {

// Refuses anything larger than a preset could reasonably be.
std::vector<unsigned char> readFileBytes(const std::string& path);
// Writes through AtomicFile: the target changes only when every byte is on disk.
void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace tovrel
