// An audio file written through libsndfile into an AtomicFile: it appears under its name only
// after commit(). Integer formats clip overs instead of wrapping, and the overs are counted.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

#include "atomic_file.h"

namespace tovrel {

class AudioWriter {
  public:
    AudioWriter(const std::string& path, int channels, int sampleRate, int format);
    ~AudioWriter();  // without commit() the temporary file is removed
    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    void write(const float* interleaved, int frames);
    void write(const double* interleaved, int frames);
    void commit();

    bool integerOutput() const { return integer_; }
    std::uint64_t clipped() const { return clipped_; }

  private:
    template <typename T>
    void countOvers(const T* interleaved, int frames);
    void check(sf_count_t wrote, int frames);

    AtomicFile file_;
    int channels_;
    bool integer_;
    int format_;
    SNDFILE* sound_ = nullptr;
    std::uint64_t clipped_ = 0;
};

}  // namespace tovrel
