// An audio file opened for reading through libsndfile, in any format it knows.
#pragma once

#include <sndfile.h>

#include <string>

namespace tovrel {

class AudioReader {
  public:
    // Throws HostError for a missing or unreadable file and for a format libsndfile lacks.
    explicit AudioReader(const std::string& path);
    ~AudioReader();
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    int channels() const { return info_.channels; }
    int sampleRate() const { return info_.samplerate; }
    long long frames() const { return static_cast<long long>(info_.frames); }
    int format() const { return info_.format; }
    const std::string& path() const { return path_; }

    // Reads up to `frames` interleaved frames; 0 at the end. Throws on a read error.
    int read(float* interleaved, int frames);
    int read(double* interleaved, int frames);

  private:
    int checked(sf_count_t got);

    std::string path_;
    SF_INFO info_{};
    SNDFILE* file_ = nullptr;
};

}  // namespace tovrel
