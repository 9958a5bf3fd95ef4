// Helpers shared by the host tests: a temporary folder, small audio files, running the
// command and reading the fake plug-in's journal.
#pragma once

#include <dlfcn.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovrel::test {
namespace fs = std::filesystem;

// A fresh folder, removed with its contents at the end of the test.
struct TempDir {
    std::string root = fs::temp_directory_path() / "tovrel-host-XXXXXX";
    TempDir() {
        if (mkdtemp(root.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::string path(const std::string& name) const { return root + "/" + name; }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(root)) names.insert(e.path().filename());
        return names;
    }
};

struct Audio {
    int channels = 0, sampleRate = 0;
    std::vector<double> samples;  // interleaved; read as double, which any format fits exactly
};

// Writes 32-bit float WAV unless another libsndfile format is given.
inline void writeAudio(const std::string& path, const Audio& audio,
                       int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT) {
    SF_INFO info{0, audio.sampleRate, audio.channels, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write test audio " + path);
    sf_writef_double(file, audio.samples.data(), sf_count_t(audio.samples.size()) / audio.channels);
    sf_close(file);
}

inline Audio readAudio(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read test audio " + path);
    Audio audio{info.channels, info.samplerate, std::vector<double>(info.frames * info.channels)};
    sf_readf_double(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

// Bit for bit, so that even the sign of a zero counts.
inline bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct CommandResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs the built tovrel with these arguments, each passed as one word (none holds a quote).
inline CommandResult runTovrel(const std::vector<std::string>& arguments) {
    const TempDir scratch;
    std::string command = "'" TOVREL_EXE "'";
    for (const std::string& word : arguments) command += " '" + word + "'";
    command += " >'" + scratch.path("out") + "' 2>'" + scratch.path("err") + "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(scratch.path("out")),
            readText(scratch.path("err"))};
}

// The journal of what the host asked the fake at `path`. Pins the module in memory, so the
// journal still holds the close request after the host has unloaded it.
using Journal = const char* (*)();
inline Journal fakeJournal(const char* path) {
    return reinterpret_cast<Journal>(dlsym(dlopen(path, RTLD_NOW | RTLD_NODELETE), "fakeJournal"));
}

}  // namespace tovrel::test
