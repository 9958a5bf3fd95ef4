// Helpers shared by the host tests: temporary folders, small WAV files, running the command
// and reading the fake plug-in's journal.
#pragma once

#include <string>
#include <vector>

namespace tovrel::test {

// A fresh folder, removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return root_ + "/" + name; }
    std::vector<std::string> entries() const;  // file names, sorted

  private:
    std::string root_;
};

struct Audio {
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> samples;  // interleaved
};

// format is a libsndfile format; 0 means 32-bit float WAV.
void writeAudio(const std::string& path, const Audio& audio, int format = 0);
Audio readAudio(const std::string& path);
std::vector<double> readAudioDouble(const std::string& path);

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built tovrel with these arguments (each passed as one word).
CommandResult runTovrel(const std::vector<std::string>& arguments);

std::string readText(const std::string& path);
void writeText(const std::string& path, const std::string& text);

// The journal the fake plug-in at `path` keeps; holds the module loaded while it lives, so
// the close request can still be read after the instance is gone.
class FakeJournal {
  public:
    explicit FakeJournal(const std::string& path);
    ~FakeJournal();
    FakeJournal(const FakeJournal&) = delete;
    FakeJournal& operator=(const FakeJournal&) = delete;
    std::string text() const;

  private:
    void* handle_;
};

}  // namespace tovrel::test
