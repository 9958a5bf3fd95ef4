// What a figure shows, independent of how it is drawn: panels of curves on their axes, each
// curve with its legend entry.
#pragma once

#include <string>
#include <vector>

namespace tovrel::plot {

struct Series {
    std::string label;
    int colour = 0;  // index into the palette; the same colour marks one setting in every panel
    bool dashed = false;
    double width = 1.8;                // of the line, in pixels
    bool reference = false;            // a grey guide line such as unity gain
    std::vector<std::string> details;  // further legend lines under the label
    std::vector<double> x, y;
    // A jump of more than this between neighbours is drawn as a break (a wrapped phase).
    double breakAbove = 0.0;  // 0: never
};

struct Axis {
    std::string label;  // with its unit, e.g. "frequency (Hz)"
    double from = 0.0, to = 1.0;
    bool logarithmic = false;
    double step = 0.0;  // between labelled ticks on a linear axis; 0 picks one
};

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

struct Panel {
    std::string title;
    Axis x, y;
    std::vector<Series> series;
    Corner legendAt = Corner::TopRight;  // where the curves leave room
};

struct Figure {
    std::string title;
    std::string subtitle;
    int width = 1200, height = 800;
    std::vector<Panel> panels;
};

}  // namespace tovrel::plot
