// Parameter automation: for each moving parameter, points in frames with the value there, and
// how the value travels from the point before (a straight ramp, or a jump at the point).
#pragma once

#include <cstdint>
#include <vector>

#include "plugin.h"

namespace tovrel {

struct AutomationPoint {
    std::int64_t frame = 0;
    float value = 0.0f;
    bool step = false;  // holds the previous value until this frame, then jumps
};

class AutomationLane {
  public:
    // Points in any order; those at the same frame keep their order.
    // member: the plug-in's place in the chain, from 0.
    AutomationLane(std::size_t member, VstInt32 parameter, std::vector<AutomationPoint> points);

    std::size_t member() const { return member_; }
    VstInt32 parameter() const { return parameter_; }
    const std::vector<AutomationPoint>& points() const { return points_; }
    // Before the first point the first value holds, after the last the last value.
    float valueAt(std::int64_t frame) const;

  private:
    std::size_t member_;
    VstInt32 parameter_;
    std::vector<AutomationPoint> points_;
};

class Automation {
  public:
    Automation(std::vector<AutomationLane> lanes, int step);

    // Where the sub-block starting at `frame` ends: the next multiple of the step, or the next
    // point of any lane, whichever is sooner (so steps and ramp ends land on their frame).
    std::int64_t nextBoundary(std::int64_t frame) const;
    // Sets every parameter whose value at `frame` differs from what was last set, and all of
    // them on the first call. Allocates nothing, so it may run between plug-in calls.
    void apply(const std::vector<Plugin*>& chain, std::int64_t frame);

    const std::vector<AutomationLane>& lanes() const { return lanes_; }
    int step() const { return step_; }

  private:
    std::vector<AutomationLane> lanes_;
    std::vector<std::int64_t> boundaries_;  // every point's frame, sorted, once each
    std::vector<float> lastSet_;
    bool started_ = false;
    int step_;
};

}  // namespace tovrel
