#include "file_bytes.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "atomic_file.h"
#include "host_error.h"

namespace tovrel {
namespace {

constexpr long kMaxFileBytes = 256L << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void cannotRead(const std::string& path, const char* why) {
    throw HostError("cannot read '" + path + "': " + why);
}

}  // namespace

std::vector<unsigned char> readFileBytes(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) cannotRead(path, std::strerror(errno));
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    while (const std::size_t got = std::fread(block, 1, sizeof block, file.get())) {
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > static_cast<std::size_t>(kMaxFileBytes)) cannotRead(path, "too large");
    }
    if (std::ferror(file.get())) cannotRead(path, std::strerror(errno));
    return bytes;
}

void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    AtomicFile file(path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(file.descriptor(), bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw HostError("cannot write '" + path + "': " + std::strerror(errno));
        done += static_cast<std::size_t>(wrote);
    }
    file.commit();
}

}  // namespace tovrel
