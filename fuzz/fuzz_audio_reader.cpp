// tovrel's audio-file reading: any bytes as a file opened through libsndfile, read to the end
// in both precisions.
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/audio_reader.h"
#include "host/host_error.h"

namespace {

// In memory where the system offers it: every input is written and opened once.
std::string scratchFile() {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/tovrel-fuzz-audio-" + std::to_string(getpid());
    return path;
}

template <typename Sample>
void readAll(const std::string& path) {
    tovrel::AudioReader reader(path);
    if (reader.channels() <= 0 || reader.channels() > 1024) return;
    std::vector<Sample> block(static_cast<std::size_t>(reader.channels()) * 256);
    for (int round = 0; round < 4096 && reader.read(block.data(), 256) > 0; ++round) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFile();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        readAll<float>(path);
        readAll<double>(path);
    } catch (const tovrel::HostError&) {
    }
    return 0;
}
