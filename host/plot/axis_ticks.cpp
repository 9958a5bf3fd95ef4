#include "axis_ticks.h"

#include <cmath>
#include <cstdio>

namespace tovrel::plot {
namespace {

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::fabs(value) < 1e-9 ? 0.0 : value);
    return text;
}

std::vector<Tick> logTicks(const Axis& axis) {
    std::vector<Tick> ticks;
    for (double decade = std::pow(10.0, std::floor(std::log10(axis.from))); decade <= axis.to;
         decade *= 10.0) {
        for (int m = 1; m <= 9; ++m) {
            const double value = decade * m;
            if (value < axis.from * (1 - 1e-9) || value > axis.to * (1 + 1e-9)) continue;
            ticks.push_back({value, m == 1 ? frequencyText(value) : ""});
        }
    }
    return ticks;
}

double roundStep(double span) {
    const double raw = span / 8.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw) return m * power;
    }
    return 10.0 * power;
}

std::vector<Tick> linearTicks(const Axis& axis) {
    const double step = axis.step > 0.0 ? axis.step : roundStep(axis.to - axis.from);
    std::vector<Tick> ticks;
    for (double k = std::ceil(axis.from / step - 1e-9); k * step <= axis.to + 1e-9 * step; ++k) {
        ticks.push_back({k * step, numberText(k * step)});
    }
    return ticks;
}

}  // namespace

std::vector<Tick> ticksFor(const Axis& axis) {
    return axis.logarithmic ? logTicks(axis) : linearTicks(axis);
}

std::string frequencyText(double hertz) {
    if (hertz >= 1000.0) return numberText(hertz / 1000.0) + "k";
    return numberText(hertz);
}

}  // namespace tovrel::plot
