#include "audio_writer.h"

#include "host_error.h"
#include "output_format.h"
#include "reproducible_bytes.h"

namespace tovrel {

AudioWriter::AudioWriter(const std::string& path, int channels, int sampleRate, int format)
    : file_(path), channels_(channels), integer_(isIntegerFormat(format)), format_(format) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = format;
    sound_ = sf_open_fd(file_.descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (sound_ == nullptr) {
        throw HostError("cannot write '" + path + "': " + sf_strerror(nullptr));
    }
    sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // The PEAK chunk of float files carries the time of writing: the same render would
    // never give the same bytes twice.
    sf_command(sound_, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
}

AudioWriter::~AudioWriter() {
    if (sound_ != nullptr) sf_close(sound_);
}

template <typename T>
void AudioWriter::countOvers(const T* interleaved, int frames) {
    if (!integer_) return;
    const long count = static_cast<long>(frames) * channels_;
    for (long i = 0; i < count; ++i) {
        if (interleaved[i] > T(1) || interleaved[i] < T(-1)) ++clipped_;
    }
}

void AudioWriter::check(sf_count_t wrote, int frames) {
    if (wrote != frames) {
        throw HostError("cannot write '" + file_.target() + "': " + sf_strerror(sound_));
    }
}

void AudioWriter::write(const float* interleaved, int frames) {
    countOvers(interleaved, frames);
    check(sf_writef_float(sound_, interleaved, frames), frames);
}

void AudioWriter::write(const double* interleaved, int frames) {
    countOvers(interleaved, frames);
    check(sf_writef_double(sound_, interleaved, frames), frames);
}

void AudioWriter::commit() {
    const int closed = sf_close(sound_);  // writes the final header
    sound_ = nullptr;
    if (closed != 0) {
        throw HostError("cannot write '" + file_.target() + "': " + sf_error_number(closed));
    }
    makeReproducible(file_.descriptor(), format_, file_.target().c_str());
    file_.commit();
}

}  // namespace tovrel
