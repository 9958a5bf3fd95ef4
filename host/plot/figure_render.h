// Draws a figure onto a cairo context: title, then the panels in a grid, each with grid lines,
// labelled axes, its curves clipped to the plot area and a legend.
#pragma once

#include <cairo.h>

#include "figure.h"

namespace tovrel::plot {

void drawFigure(cairo_t* cr, const Figure& figure);

}  // namespace tovrel::plot
