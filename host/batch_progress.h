// The batch's one progress line: every worker's file and how far it has got, and how many
// files are done. Drawn on a terminal only, at most ten times a second.
#pragma once

#include <chrono>
#include <cstdio>
#include <vector>

#include "batch_render.h"

namespace tovrel {

class BatchProgressLine {
  public:
    BatchProgressLine(std::FILE* stream, bool enabled, int files);
    ~BatchProgressLine();  // clears the line
    BatchProgressLine(const BatchProgressLine&) = delete;
    BatchProgressLine& operator=(const BatchProgressLine&) = delete;

    void update(const std::vector<WorkerStatus>& workers, int finished);

  private:
    std::FILE* stream_;
    bool enabled_;
    int files_;
    std::size_t drawnWidth_ = 0;
    std::chrono::steady_clock::time_point last_{};
};

// The text of the line, without the carriage return.
std::string batchProgressText(const std::vector<WorkerStatus>& workers, int finished, int files);

}  // namespace tovrel
