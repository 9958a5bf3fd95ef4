// A progress bar for long renders, drawn on a terminal only; silent otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace tovrel {

class ProgressBar {
  public:
    // Draws on `stream` only when enabled (the caller checks for a terminal and --quiet).
    ProgressBar(std::FILE* stream, bool enabled);
    ~ProgressBar();  // clears the bar
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::uint64_t done, std::uint64_t total);

  private:
    std::FILE* stream_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// True when standard error is a terminal.
bool stderrIsTerminal();

}  // namespace tovrel
