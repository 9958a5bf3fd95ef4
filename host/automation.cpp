#include "automation.h"

#include <algorithm>
#include <cstring>

namespace tovrel {

AutomationLane::AutomationLane(std::size_t member, VstInt32 parameter,
                               std::vector<AutomationPoint> points)
    : member_(member), parameter_(parameter), points_(std::move(points)) {
    std::stable_sort(points_.begin(), points_.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
}

float AutomationLane::valueAt(std::int64_t frame) const {
    const auto after = std::upper_bound(points_.begin(), points_.end(), frame,
                                        [](std::int64_t f, const auto& p) { return f < p.frame; });
    if (after == points_.begin()) return points_.front().value;
    const AutomationPoint& from = *(after - 1);
    if (after == points_.end() || after->step) return from.value;
    // frame lies strictly before after->frame, so the span is never zero here.
    const double t =
        static_cast<double>(frame - from.frame) / static_cast<double>(after->frame - from.frame);
    return static_cast<float>(from.value + (static_cast<double>(after->value) - from.value) * t);
}

Automation::Automation(std::vector<AutomationLane> lanes, int step)
    : lanes_(std::move(lanes)), lastSet_(lanes_.size(), 0.0f), step_(step) {
    for (const AutomationLane& lane : lanes_) {
        for (const AutomationPoint& point : lane.points()) boundaries_.push_back(point.frame);
    }
    std::sort(boundaries_.begin(), boundaries_.end());
    boundaries_.erase(std::unique(boundaries_.begin(), boundaries_.end()), boundaries_.end());
}

std::int64_t Automation::nextBoundary(std::int64_t frame) const {
    const std::int64_t grid = (frame / step_ + 1) * step_;
    const auto point = std::upper_bound(boundaries_.begin(), boundaries_.end(), frame);
    return point == boundaries_.end() ? grid : std::min(grid, *point);
}

void Automation::apply(const std::vector<Plugin*>& chain, std::int64_t frame) {
    for (std::size_t i = 0; i < lanes_.size(); ++i) {
        const float value = lanes_[i].valueAt(frame);
        // Bits, not ==, so that a move between -0 and +0 still reaches the plug-in.
        if (started_ && std::memcmp(&value, &lastSet_[i], sizeof value) == 0) continue;
        chain[lanes_[i].member()]->setParameter(lanes_[i].parameter(), value);
        lastSet_[i] = value;
    }
    started_ = true;
}

}  // namespace tovrel
