#include "figure_file.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "figure_render.h"
#include "host/file_bytes.h"
#include "host/host_error.h"

namespace tovrel::plot {
namespace {

struct SurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void draw(cairo_surface_t* surface, const Figure& figure) {
    std::unique_ptr<cairo_t, ContextDestroy> cr(cairo_create(surface));
    drawFigure(cr.get(), figure);
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        throw HostError(std::string("cannot draw the figure: ") +
                        cairo_status_to_string(cairo_status(cr.get())));
    }
}

// Cairo numbers the surfaces in an SVG with a counter shared by the whole program, so a second
// figure would differ from the first. They are renumbered by first appearance, references
// ("#surfaceN") included, so the bytes depend on the figure alone.
std::vector<unsigned char> renumberSurfaces(const std::vector<unsigned char>& svg) {
    static const std::string kName = "surface";
    const std::string text(svg.begin(), svg.end());
    std::map<std::string, std::string> numbers;
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = text.find(kName); at != std::string::npos;
         at = text.find(kName, at + 1)) {
        std::size_t end = at + kName.size();
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        const bool reference = at > 0 && (text[at - 1] == '"' || text[at - 1] == '#');
        if (!reference || end == at + kName.size()) continue;
        const std::string old = text.substr(at + kName.size(), end - at - kName.size());
        auto found = numbers.emplace(old, std::to_string(numbers.size() + 1)).first;
        out += text.substr(done, at - done) + kName + found->second;
        done = end;
    }
    out += text.substr(done);
    return {out.begin(), out.end()};
}

bool endsWith(std::string text, const std::string& suffix) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<unsigned char> encode(const Figure& figure, ImageFormat format) {
    std::vector<unsigned char> bytes;
    if (format == ImageFormat::Svg) {
        Surface surface(
            cairo_svg_surface_create_for_stream(append, &bytes, figure.width, figure.height));
        cairo_svg_surface_restrict_to_version(surface.get(), CAIRO_SVG_VERSION_1_1);
        draw(surface.get(), figure);
        cairo_surface_finish(surface.get());
        return renumberSurfaces(bytes);
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, figure.width, figure.height));
    draw(surface.get(), figure);
    if (cairo_surface_write_to_png_stream(surface.get(), append, &bytes) != CAIRO_STATUS_SUCCESS) {
        throw HostError("cannot encode the figure as PNG");
    }
    return bytes;
}

}  // namespace

ImageFormat imageFormatOf(const std::string& path) {
    if (endsWith(path, ".png")) return ImageFormat::Png;
    if (endsWith(path, ".svg")) return ImageFormat::Svg;
    throw HostError("cannot tell the picture format of '" + path + "': name it .png or .svg");
}

std::vector<unsigned char> renderFigure(const Figure& figure, ImageFormat format) {
    std::vector<unsigned char> bytes = encode(figure, format);
    // Cairo and fontconfig keep their font caches for the life of the program otherwise, which
    // leak checkers report; a command draws one figure, so they are let go here.
    cairo_debug_reset_static_data();
    FcFini();
    return bytes;
}

void writeFigure(const Figure& figure, const std::string& path) {
    const ImageFormat format = imageFormatOf(path);
    writeFileBytes(path, renderFigure(figure, format));
}

}  // namespace tovrel::plot
