// Figures as drawn: ticks where people expect them, and curves found in the pixels where their
// values lie between the grid lines, broken at wraps and kept inside their panel.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

#include "host/plot/axis_ticks.h"
#include "host/plot/figure_file.h"

namespace tovrel::plot {
namespace {

std::vector<std::string> labels(const std::vector<Tick>& ticks) {
    std::vector<std::string> text;
    for (const Tick& tick : ticks) {
        if (!tick.label.empty()) text.push_back(tick.label);
    }
    return text;
}

TEST(AxisTicksTest, DecadesWithMinorStepsOnLogAxesRoundStepsOnLinearOnes) {
    const std::vector<Tick> log = ticksFor({"", 10.0, 22050.0, true, 0.0});
    EXPECT_EQ(labels(log), (std::vector<std::string>{"10", "100", "1k", "10k"}));
    EXPECT_EQ(log.size(), 29u);  // 10 to 90, 100 to 900, 1k to 9k, 10k and 20k
    EXPECT_EQ(log.back().value, 20000.0);
    const std::vector<Tick> transfer = ticksFor({"", -60.0, 6.0, false, 6.0});
    EXPECT_EQ(transfer.size(), 12u);
    EXPECT_EQ(transfer.front().label, "-60");
    EXPECT_EQ(transfer.back().label, "6");
    EXPECT_EQ(labels(ticksFor({"", -180.0, 180.0, false, 0.0})),
              (std::vector<std::string>{"-150", "-100", "-50", "0", "50", "100", "150"}));
    EXPECT_EQ(frequencyText(2500.0), "2.5k");
    EXPECT_EQ(frequencyText(20.0), "20");
}

struct Rgb {
    int r, g, b;
    bool near(Rgb o, int slack = 24) const {
        return std::abs(r - o.r) <= slack && std::abs(g - o.g) <= slack &&
               std::abs(b - o.b) <= slack;
    }
};
const Rgb kBlue{0, 115, 178}, kOrange{214, 94, 0}, kGreen{0, 158, 115}, kGrid{214, 214, 214};

class Pixels {
  public:
    explicit Pixels(const std::vector<unsigned char>& png) : png_(png) {
        surface_ = cairo_image_surface_create_from_png_stream(read, this);
        EXPECT_EQ(cairo_surface_status(surface_), CAIRO_STATUS_SUCCESS);
    }
    ~Pixels() { cairo_surface_destroy(surface_); }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    Rgb at(int x, int y) const {
        const unsigned char* row =
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        std::uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        return {int(pixel >> 16 & 255), int(pixel >> 8 & 255), int(pixel & 255)};
    }
    std::vector<int> rowsIn(int column, Rgb colour, int slack = 24) const {
        std::vector<int> rows;
        for (int y = 0; y < height(); ++y) {
            if (at(column, y).near(colour, slack)) rows.push_back(y);
        }
        return rows;
    }
    int countInRow(int row, Rgb colour) const {
        int count = 0;
        for (int x = 0; x < width(); ++x) count += at(x, row).near(colour);
        return count;
    }

  private:
    static cairo_status_t read(void* closure, unsigned char* data, unsigned int length) {
        auto* self = static_cast<Pixels*>(closure);
        if (self->offset_ + length > self->png_.size()) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, self->png_.data() + self->offset_, length);
        self->offset_ += length;
        return CAIRO_STATUS_SUCCESS;
    }
    const std::vector<unsigned char>& png_;
    std::size_t offset_ = 0;
    cairo_surface_t* surface_ = nullptr;
};

Series line(int colour, std::vector<double> x, std::vector<double> y, double breakAbove = 0) {
    Series series;
    series.label = "curve " + std::to_string(colour);
    series.colour = colour;
    series.width = 3.0;
    series.x = std::move(x);
    series.y = std::move(y);
    series.breakAbove = breakAbove;
    return series;
}

// One panel, 0 to 10 both ways with a grid line at every whole number: a flat blue line at 2.5,
// an orange one that jumps from 9 down to 1 between x = 4 and 6, a green one that leaves the
// top of the panel.
Figure testFigure(double breakAbove) {
    Panel panel;
    panel.x = {"x", 0.0, 10.0, false, 1.0};
    panel.y = {"y", 0.0, 10.0, false, 1.0};
    panel.legendAt = Corner::TopLeft;
    panel.series = {line(0, {0, 10}, {2.5, 2.5}), line(1, {2, 4, 6, 8}, {9, 9, 1, 1}, breakAbove),
                    line(2, {9, 9.5, 10}, {5, 100, 100})};
    Figure figure;
    figure.title = "test";
    figure.panels = {panel};
    return figure;
}

TEST(FigureTest, CurvesLieBetweenTheirGridLinesBreakAtJumpsAndStayInThePanel) {
    const Pixels pixels(renderFigure(testFigure(5.0), ImageFormat::Png));
    ASSERT_EQ(pixels.width(), 1200);
    ASSERT_EQ(pixels.height(), 800);
    const int column = 600;  // inside the plot area, right of the legend
    const std::vector<int> grid = pixels.rowsIn(column, kGrid, 4);
    ASSERT_EQ(grid.size(), 9u) << "grid lines 1 to 9; 0 and 10 are the frame";
    const std::vector<int> blue = pixels.rowsIn(column, kBlue);
    ASSERT_FALSE(blue.empty());
    const double middle = (blue.front() + blue.back()) / 2.0;
    // Rows grow downwards: grid line 2 is the second from the bottom, 3 the third.
    EXPECT_NEAR(middle, (grid[grid.size() - 2] + grid[grid.size() - 3]) / 2.0, 1.0);

    const int between5and6 = (grid[3] + grid[4]) / 2;  // grid[3] is y = 6, grid[4] is y = 5
    EXPECT_EQ(pixels.countInRow(between5and6, kOrange), 0);
    const Pixels joined(renderFigure(testFigure(0.0), ImageFormat::Png));
    EXPECT_GT(joined.countInRow(between5and6, kOrange), 0);  // the same row does cross the jump

    int frameTop = grid.front();
    while (frameTop > 0 && !pixels.at(column, frameTop).near({51, 51, 51}, 10)) --frameTop;
    ASSERT_GT(frameTop, 0);
    for (int y = 0; y < frameTop; ++y) ASSERT_EQ(pixels.countInRow(y, kGreen), 0) << y;
    EXPECT_GT(pixels.countInRow(frameTop + 3, kGreen), 0);  // up to the edge, clipped there
}

TEST(FigureTest, OnlyPngAndSvgNamesAreAccepted) {
    EXPECT_EQ(imageFormatOf("a.PNG"), ImageFormat::Png);
    EXPECT_EQ(imageFormatOf("dir.png/a.svg"), ImageFormat::Svg);
    EXPECT_THROW(imageFormatOf("a.pdf"), std::exception);
    EXPECT_THROW(imageFormatOf("png"), std::exception);
}

}  // namespace
}  // namespace tovrel::plot

namespace tovrel::plot {
namespace {

TEST(FigureTest, DrawingTwiceInOneProgramGivesTheSameBytes) {
    for (const ImageFormat format : {ImageFormat::Png, ImageFormat::Svg}) {
        const Figure figure = testFigure(5.0);
        EXPECT_EQ(renderFigure(figure, format), renderFigure(figure, format));
    }
}

}  // namespace
}  // namespace tovrel::plot
