#include "audio_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host_error.h"

namespace tovrel {
namespace {

// libsndfile folds every failure into one message; the system's reason is clearer for files
// that cannot be opened at all.
void requireReadableFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw HostError("cannot read '" + path + "': " + std::strerror(errno));
    struct stat info {};
    const bool directory = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    close(fd);
    if (directory) throw HostError("cannot read '" + path + "': " + std::strerror(EISDIR));
}

}  // namespace

AudioReader::AudioReader(const std::string& path) : path_(path) {
    requireReadableFile(path);
    file_ = sf_open(path.c_str(), SFM_READ, &info_);
    if (file_ == nullptr) {
        throw HostError("unsupported audio format in '" + path + "': " + sf_strerror(nullptr));
    }
    if (info_.channels < 1 || info_.samplerate < 1) {
        sf_close(file_);
        throw HostError("unsupported audio format in '" + path + "': no channels or no rate");
    }
}

AudioReader::~AudioReader() {
    sf_close(file_);
}

int AudioReader::checked(sf_count_t got) {
    if (got < 0 || sf_error(file_) != SF_ERR_NO_ERROR) {
        throw HostError("cannot read '" + path_ + "': " + sf_strerror(file_));
    }
    return static_cast<int>(got);
}

int AudioReader::read(float* interleaved, int frames) {
    return checked(sf_readf_float(file_, interleaved, frames));
}

int AudioReader::read(double* interleaved, int frames) {
    return checked(sf_readf_double(file_, interleaved, frames));
}

}  // namespace tovrel
