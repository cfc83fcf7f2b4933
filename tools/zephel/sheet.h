// Pictures the workbench hands out: a gauge picture scaled, and the panel
// sheet (gauges placed as on an instrument panel, each labelled), both as
// Cairo surfaces, and PNG files written whole or not at all.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "layout.h"

namespace zephel::cli {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// The host's picture as a Cairo ARGB32 surface, scaled by `factor`
// (bilinear; 1 copies pixel for pixel).
Surface to_surface(const Image& image, double factor = 1.0);

// Writes a PNG through a temporary file; throws Failure naming the path.
void write_png_file(cairo_surface_t* surface, const std::filesystem::path& path);

// The gauges' shapes for the layout: name, default size, picture size.
std::vector<GaugeShape> gauge_shapes(Host& host, const std::vector<const Gauge*>& gauges);

class PanelSheet {
public:
    // `px_per_unit` pixels per panel unit (mm); `caption_strip` leaves room
    // under the panel for a line of text (the time in `play`).
    PanelSheet(Host& host, std::vector<const Gauge*> gauges, double px_per_unit, bool caption_strip = false);

    int width() const { return width_; }
    int height() const { return height_; }
    // Draws every gauge in its current state.
    Surface draw(const std::string& caption = "");

private:
    Host& host_;
    std::vector<const Gauge*> gauges_;
    PanelLayout layout_;
    double scale_;
    bool caption_strip_;
    int width_ = 0, height_ = 0;
};

}  // namespace zephel::cli
