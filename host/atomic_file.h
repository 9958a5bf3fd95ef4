// An output file that appears only when complete: written under a temporary name in the same
// folder and renamed over the target on commit, so a failed or interrupted run leaves neither a
// half-written file nor a damaged earlier one.
#pragma once

#include <string>

namespace tovrel {

class AtomicFile {
  public:
    // Creates the temporary file at once, so an unwritable target fails before any work.
    explicit AtomicFile(std::string target);
    ~AtomicFile();  // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    int descriptor() const { return fd_; }
    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }

    // Flushes, closes and renames over the target. Throws HostError on failure.
    void commit();

  private:
    void discard() noexcept;

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace tovrel
