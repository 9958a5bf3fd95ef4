#include "reproducible_bytes.h"

#include <ogg/ogg.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host_error.h"

namespace tovrel {
namespace {

// "Tovr"; any constant does, as the file holds one logical stream.
constexpr unsigned char kSerial[4] = {0x72, 0x76, 0x6f, 0x54};
constexpr int kSerialOffset = 14;

[[noreturn]] void cannotRewrite(const char* path) {
    throw HostError(std::string("cannot write '") + path + "': " + std::strerror(errno));
}

std::vector<unsigned char> readAll(int fd, const char* path) {
    std::vector<unsigned char> bytes;
    unsigned char buffer[1 << 16];
    if (lseek(fd, 0, SEEK_SET) != 0) cannotRewrite(path);
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0) cannotRewrite(path);
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

std::vector<unsigned char> withFixedSerial(const std::vector<unsigned char>& file) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* into = ogg_sync_buffer(&sync, static_cast<long>(file.size()));
    std::memcpy(into, file.data(), file.size());
    ogg_sync_wrote(&sync, static_cast<long>(file.size()));
    std::vector<unsigned char> fixed;
    fixed.reserve(file.size());
    ogg_page page;
    while (ogg_sync_pageout(&sync, &page) == 1) {
        std::memcpy(page.header + kSerialOffset, kSerial, sizeof kSerial);
        ogg_page_checksum_set(&page);
        fixed.insert(fixed.end(), page.header, page.header + page.header_len);
        fixed.insert(fixed.end(), page.body, page.body + page.body_len);
    }
    ogg_sync_clear(&sync);
    return fixed;
}

// Walks the RIFF-style chunks before the audio data and zeroes the PEAK chunk's time stamp,
// which follows the chunk's id, size and version words.
void clearPeakTime(std::vector<unsigned char>& file) {
    std::size_t at = 12;
    while (at + 8 <= file.size() && std::memcmp(&file[at], "data", 4) != 0) {
        const std::uint32_t size = static_cast<std::uint32_t>(file[at + 4]) |
                                   static_cast<std::uint32_t>(file[at + 5]) << 8 |
                                   static_cast<std::uint32_t>(file[at + 6]) << 16 |
                                   static_cast<std::uint32_t>(file[at + 7]) << 24;
        if (std::memcmp(&file[at], "PEAK", 4) == 0 && size >= 8 && at + 16 <= file.size())
            std::memset(&file[at + 12], 0, 4);
        at += 8 + size + (size & 1);
    }
}

}  // namespace

void makeReproducible(int fd, int format, const char* path) {
    const int container = format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_OGG && container != SF_FORMAT_RF64) return;
    std::vector<unsigned char> file = readAll(fd, path);
    std::vector<unsigned char> fixed = file;
    if (container == SF_FORMAT_OGG) fixed = withFixedSerial(file);
    if (container == SF_FORMAT_RF64) clearPeakTime(fixed);
    if (fixed.size() != file.size())
        throw HostError(std::string("cannot read back '") + path + "'");
    if (pwrite(fd, fixed.data(), fixed.size(), 0) != static_cast<ssize_t>(fixed.size()))
        cannotRewrite(path);
}

}  // namespace tovrel
