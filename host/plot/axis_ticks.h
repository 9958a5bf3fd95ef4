// Tick marks for an axis: decades with their minor steps on a log axis, round steps on a
// linear one.
#pragma once

#include <string>
#include <vector>

#include "figure.h"

namespace tovrel::plot {

struct Tick {
    double value = 0.0;
    std::string label;  // empty for a minor tick
};

std::vector<Tick> ticksFor(const Axis& axis);

// Frequencies as people write them: 20, 500, 1k, 2.5k, 10k.
std::string frequencyText(double hertz);

}  // namespace tovrel::plot
