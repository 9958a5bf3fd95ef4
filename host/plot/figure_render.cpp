#include "figure_render.h"

#include <algorithm>
#include <cmath>

#include "axis_ticks.h"

namespace tovrel::plot {
namespace {

constexpr const char* kFont = "DejaVu Sans";
constexpr double kTitleSize = 20, kSubtitleSize = 13, kPanelTitleSize = 14, kLabelSize = 12,
                 kTickSize = 11, kLegendSize = 11;

struct Colour {
    double r, g, b;
};

// Ten colours that stay apart for most kinds of colour vision.
constexpr Colour kPalette[] = {{0.00, 0.45, 0.70}, {0.84, 0.37, 0.00}, {0.00, 0.62, 0.45},
                               {0.80, 0.47, 0.65}, {0.34, 0.71, 0.91}, {0.90, 0.62, 0.00},
                               {0.40, 0.40, 0.40}, {0.60, 0.30, 0.10}, {0.35, 0.20, 0.60},
                               {0.10, 0.10, 0.10}};

struct Rect {
    double x, y, w, h;
};

void setColour(cairo_t* cr, const Series& series) {
    if (series.reference) {
        cairo_set_source_rgb(cr, 0.55, 0.55, 0.55);
        return;
    }
    const Colour& c = kPalette[static_cast<std::size_t>(series.colour) % std::size(kPalette)];
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void setLine(cairo_t* cr, const Series& series) {
    static const double kDash[] = {7.0, 4.0};
    cairo_set_line_width(cr, series.reference ? 1.0 : series.width);
    cairo_set_dash(cr, kDash, series.dashed || series.reference ? 2 : 0, 0.0);
}

void font(cairo_t* cr, double size, bool bold = false) {
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// Draws text with its anchor at (x, y): align 0 left, 0.5 centre, 1 right; y is the baseline.
void text(cairo_t* cr, const std::string& words, double x, double y, double align = 0.0) {
    cairo_move_to(cr, x - align * textWidth(cr, words), y);
    cairo_show_text(cr, words.c_str());
}

double position(const Axis& axis, double value, double from, double length) {
    const double t = axis.logarithmic
                         ? std::log10(value / axis.from) / std::log10(axis.to / axis.from)
                         : (value - axis.from) / (axis.to - axis.from);
    return from + t * length;
}

double px(const Axis& axis, const Rect& area, double value) {
    return position(axis, value, area.x, area.w);
}
double py(const Axis& axis, const Rect& area, double value) {
    return position(axis, value, area.y + area.h, -area.h);
}

void drawGridAndTicks(cairo_t* cr, const Panel& panel, const Rect& area) {
    cairo_set_dash(cr, nullptr, 0, 0.0);
    font(cr, kTickSize);
    for (const Tick& tick : ticksFor(panel.x)) {
        const double x = std::round(px(panel.x, area, tick.value)) + 0.5;
        cairo_set_source_rgb(cr, tick.label.empty() ? 0.93 : 0.84, tick.label.empty() ? 0.93 : 0.84,
                             tick.label.empty() ? 0.93 : 0.84);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, x, area.y);
        cairo_line_to(cr, x, area.y + area.h);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        if (!tick.label.empty()) text(cr, tick.label, x, area.y + area.h + 15, 0.5);
    }
    for (const Tick& tick : ticksFor(panel.y)) {
        const double y = std::round(py(panel.y, area, tick.value)) + 0.5;
        cairo_set_source_rgb(cr, 0.84, 0.84, 0.84);
        cairo_move_to(cr, area.x, y);
        cairo_line_to(cr, area.x + area.w, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        text(cr, tick.label, area.x - 6, y + 4, 1.0);
    }
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_rectangle(cr, area.x + 0.5, area.y + 0.5, area.w, area.h);
    cairo_stroke(cr);
}

void drawAxisLabels(cairo_t* cr, const Panel& panel, const Rect& area) {
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    font(cr, kLabelSize);
    text(cr, panel.x.label, area.x + area.w / 2, area.y + area.h + 33, 0.5);
    cairo_save(cr);
    cairo_translate(cr, area.x - 44, area.y + area.h / 2);
    cairo_rotate(cr, -M_PI / 2);
    text(cr, panel.y.label, 0, 0, 0.5);
    cairo_restore(cr);
    font(cr, kPanelTitleSize, true);
    text(cr, panel.title, area.x, area.y - 8);
}

void drawSeries(cairo_t* cr, const Panel& panel, const Rect& area, const Series& series) {
    setColour(cr, series);
    setLine(cr, series);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    bool drawing = false;
    for (std::size_t i = 0; i < series.x.size(); ++i) {
        const double x = series.x[i], y = series.y[i];
        if (!std::isfinite(x) || !std::isfinite(y) || (panel.x.logarithmic && x <= 0)) {
            drawing = false;
            continue;
        }
        const bool jump = drawing && series.breakAbove > 0.0 &&
                          std::fabs(y - series.y[i - 1]) > series.breakAbove;
        const double sx = px(panel.x, area, x), sy = py(panel.y, area, y);
        if (drawing && !jump) {
            cairo_line_to(cr, sx, sy);
        } else {
            cairo_move_to(cr, sx, sy);
        }
        drawing = true;
    }
    cairo_stroke(cr);
}

struct LegendSize {
    double width, height;
};

LegendSize measureLegend(cairo_t* cr, const Panel& panel, double fontSize) {
    font(cr, fontSize);
    const double line = fontSize + 5, swatch = 26, pad = 7;
    double width = 0, height = pad;
    for (const Series& series : panel.series) {
        width = std::max(width, swatch + textWidth(cr, series.label));
        for (const std::string& detail : series.details) {
            width = std::max(width, swatch + textWidth(cr, detail));
        }
        height += line * static_cast<double>(1 + series.details.size());
    }
    return {width + 2 * pad, height + pad - 4};
}

void drawLegend(cairo_t* cr, const Panel& panel, const Rect& area) {
    // Many settings shrink the text rather than spill out of the panel.
    double fontSize = kLegendSize;
    LegendSize size = measureLegend(cr, panel, fontSize);
    const double fit = std::min((area.h - 16) / size.height, (area.w - 16) / size.width);
    if (fit < 1.0) {
        fontSize = std::max(6.0, std::floor(kLegendSize * fit * 2) / 2);
        size = measureLegend(cr, panel, fontSize);
    }
    const double line = fontSize + 5, swatch = 26, pad = 7;
    const double width = size.width, height = size.height;
    const bool left = panel.legendAt == Corner::TopLeft || panel.legendAt == Corner::BottomLeft;
    const bool top = panel.legendAt == Corner::TopLeft || panel.legendAt == Corner::TopRight;
    const double x = left ? area.x + 8 : area.x + area.w - 8 - width;
    double y = top ? area.y + 8 : area.y + area.h - 8 - height;
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_rectangle(cr, x, y, width, height);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.7, 0.7, 0.7);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    y += pad;
    for (const Series& series : panel.series) {
        setColour(cr, series);
        setLine(cr, series);
        cairo_move_to(cr, x + pad, y + line / 2);
        cairo_line_to(cr, x + pad + swatch - 6, y + line / 2);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        text(cr, series.label, x + pad + swatch, y + line - 4);
        y += line;
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        for (const std::string& detail : series.details) {
            text(cr, detail, x + pad + swatch, y + line - 4);
            y += line;
        }
    }
}

void drawPanel(cairo_t* cr, const Panel& panel, const Rect& cell) {
    const Rect area{cell.x + 62, cell.y + 30, cell.w - 62 - 16, cell.h - 30 - 44};
    drawGridAndTicks(cr, panel, area);
    drawAxisLabels(cr, panel, area);
    cairo_save(cr);
    cairo_rectangle(cr, area.x, area.y, area.w, area.h);
    cairo_clip(cr);
    // The first setting drawn last, on top: it is the one the others are compared with.
    for (auto series = panel.series.rbegin(); series != panel.series.rend(); ++series) {
        drawSeries(cr, panel, area, *series);
    }
    cairo_restore(cr);
    if (!panel.series.empty()) drawLegend(cr, panel, area);
}

void setFontOptions(cairo_t* cr) {
    // Fixed, so the user's font configuration cannot change the drawing.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace

void drawFigure(cairo_t* cr, const Figure& figure) {
    setFontOptions(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    font(cr, kTitleSize, true);
    text(cr, figure.title, figure.width / 2.0, 30, 0.5);
    font(cr, kSubtitleSize);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    text(cr, figure.subtitle, figure.width / 2.0, 52, 0.5);

    const auto count = static_cast<int>(figure.panels.size());
    const int columns = count == 1 ? 1 : 2;
    const int rows = (count + columns - 1) / columns;
    const double top = 64, cellWidth = (figure.width - 10.0) / columns,
                 cellHeight = (figure.height - top - 4) / std::max(rows, 1);
    for (int i = 0; i < count; ++i) {
        const Rect cell{5 + cellWidth * (i % columns), top + cellHeight * (i / columns), cellWidth,
                        cellHeight};
        drawPanel(cr, figure.panels[static_cast<std::size_t>(i)], cell);
    }
}

}  // namespace tovrel::plot
