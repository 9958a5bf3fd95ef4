#include "batch_progress.h"

#include <filesystem>
#include <string>

namespace tovrel {
namespace {

constexpr auto kInterval = std::chrono::milliseconds(100);
constexpr std::size_t kNameWidth = 16;

std::string shortName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.size() > kNameWidth) name = name.substr(0, kNameWidth - 3) + "...";
    return name;
}

}  // namespace

std::string batchProgressText(const std::vector<WorkerStatus>& workers, int finished, int files) {
    std::string text;
    for (std::size_t w = 0; w < workers.size(); ++w) {
        const WorkerStatus& status = workers[w];
        text += "[" + std::to_string(w + 1) + "] ";
        if (status.input.empty()) {
            text += "idle  ";
            continue;
        }
        const int percent =
            status.total == 0 ? 0 : static_cast<int>(100 * status.done / status.total);
        text += shortName(status.input) + " " + std::to_string(percent) + "%  ";
    }
    return text + std::to_string(finished) + "/" + std::to_string(files) + " files";
}

BatchProgressLine::BatchProgressLine(std::FILE* stream, bool enabled, int files)
    : stream_(stream), enabled_(enabled), files_(files) {}

BatchProgressLine::~BatchProgressLine() {
    if (drawnWidth_ > 0) std::fprintf(stream_, "\r%*s\r", static_cast<int>(drawnWidth_), "");
}

void BatchProgressLine::update(const std::vector<WorkerStatus>& workers, int finished) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawnWidth_ > 0 && now - last_ < kInterval && finished < files_) return;
    last_ = now;
    std::string text = batchProgressText(workers, finished, files_);
    const std::size_t width = text.size();
    if (width < drawnWidth_) text += std::string(drawnWidth_ - width, ' ');
    drawnWidth_ = std::max(drawnWidth_, width);
    std::fprintf(stream_, "\r%s", text.c_str());
    std::fflush(stream_);
}

}  // namespace tovrel
