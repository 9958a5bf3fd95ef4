#include "progress_bar.h"

#include <unistd.h>

#include <string>

namespace tovrel {
namespace {

constexpr int kWidth = 40;
constexpr auto kInterval = std::chrono::milliseconds(100);

}  // namespace

bool stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

ProgressBar::ProgressBar(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}

ProgressBar::~ProgressBar() {
    if (drawn_) std::fprintf(stream_, "\r%*s\r", kWidth + 16, "");
}

void ProgressBar::update(std::uint64_t done, std::uint64_t total) {
    if (!enabled_ || total == 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < kInterval && done < total) return;
    last_ = now;
    drawn_ = true;
    const int filled = static_cast<int>(kWidth * done / total);
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
    std::fprintf(stream_, "\r[%s] %3d%%", bar.c_str(), static_cast<int>(100 * done / total));
    std::fflush(stream_);
}

}  // namespace tovrel
