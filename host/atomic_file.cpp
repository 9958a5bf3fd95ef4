#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host_error.h"

namespace tovrel {
namespace {

[[noreturn]] void cannotWrite(const std::string& path, int error) {
    throw HostError("cannot write '" + path + "': " + std::strerror(error));
}

std::string temporaryName(const std::string& target, int attempt) {
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + base + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) +
           ".tmp";
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    struct stat info {};
    if (target_.empty()) throw HostError("no output file name given");
    if (stat(target_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) cannotWrite(target_, EISDIR);
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = temporaryName(target_, attempt);
        fd_ = open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100)) cannotWrite(target_, errno);
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) discard();
}

void AtomicFile::discard() noexcept {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    unlink(temporary_.c_str());
}

void AtomicFile::commit() {
    if (fsync(fd_) != 0 || close(fd_) != 0) {
        const int error = errno;
        fd_ = -1;
        discard();
        cannotWrite(target_, error);
    }
    fd_ = -1;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        discard();
        cannotWrite(target_, error);
    }
    committed_ = true;
}

}  // namespace tovrel
