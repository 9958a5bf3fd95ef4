#include "signal_stats.h"

#include <cmath>
#include <limits>

namespace tovrel {

SignalStats::SignalStats(int channels)
    : peaks_(static_cast<std::size_t>(channels), 0.0),
      squares_(static_cast<std::size_t>(channels), 0.0) {}

double SignalStats::rms(int channel) const {
    if (frames_ == 0) return 0.0;
    return std::sqrt(squares_[static_cast<std::size_t>(channel)] / static_cast<double>(frames_));
}

double toDbfs(double level) {
    if (!(level > 0.0)) return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(level);
}

}  // namespace tovrel
