// Writes a figure as PNG or SVG, chosen by the file's extension. Same figure, same bytes: the
// PNG carries no time, and the SVG's ids are numbered within the figure.
#pragma once

#include <string>
#include <vector>

#include "figure.h"

namespace tovrel::plot {

enum class ImageFormat { Png, Svg };

// Throws HostError for any other extension.
ImageFormat imageFormatOf(const std::string& path);

std::vector<unsigned char> renderFigure(const Figure& figure, ImageFormat format);

// The file appears only once complete.
void writeFigure(const Figure& figure, const std::string& path);

}  // namespace tovrel::plot
