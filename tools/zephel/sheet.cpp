#include "sheet.h"

#include <algorithm>
#include <cmath>

#include "errors.h"
#include "output_file.h"

namespace zephel::cli {

namespace {

constexpr int LABEL_ROOM = 6;    // panel units under each row for the names
constexpr int CAPTION_ROOM = 7;  // panel units for the caption strip

cairo_status_t write_to_file(void* closure, const unsigned char* data, unsigned int length) {
    FILE* f = static_cast<FILE*>(closure);
    return std::fwrite(data, 1, length, f) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

void set_rgb(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

}  // namespace

Surface to_surface(const Image& image, double factor) {
    Surface plain(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    if (cairo_surface_status(plain.get()) != CAIRO_STATUS_SUCCESS)
        throw Failure("cannot make a " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                      " picture");
    cairo_surface_flush(plain.get());
    unsigned char* data = cairo_image_surface_get_data(plain.get());
    const int stride = cairo_image_surface_get_stride(plain.get());
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            row[x] = (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);  // RGBA bytes -> 0xAARRGGBB
        }
    }
    cairo_surface_mark_dirty(plain.get());
    if (factor == 1.0) return plain;

    const int w = std::max(1, static_cast<int>(std::lround(image.width * factor)));
    const int h = std::max(1, static_cast<int>(std::lround(image.height * factor)));
    Surface scaled(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    if (cairo_surface_status(scaled.get()) != CAIRO_STATUS_SUCCESS)
        throw Failure("cannot make a " + std::to_string(w) + " x " + std::to_string(h) + " picture");
    cairo_t* cr = cairo_create(scaled.get());
    cairo_scale(cr, static_cast<double>(w) / image.width, static_cast<double>(h) / image.height);
    cairo_set_source_surface(cr, plain.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), factor > 1.0 ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return scaled;
}

void write_png_file(cairo_surface_t* surface, const std::filesystem::path& path) {
    OutputFile out(path);
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, write_to_file, out.stream());
    if (status != CAIRO_STATUS_SUCCESS)
        throw Failure(path.string() + ": cannot write the picture (" + cairo_status_to_string(status) + ")");
    out.commit();
}

std::vector<GaugeShape> gauge_shapes(Host& host, const std::vector<const Gauge*>& gauges) {
    std::vector<GaugeShape> shapes;
    for (const Gauge* g : gauges) {
        const auto [w, h] = host.picture_size(*g);
        shapes.push_back({g->name, static_cast<int>(g->default_size_mm), w, h});
    }
    return shapes;
}

PanelSheet::PanelSheet(Host& host, std::vector<const Gauge*> gauges, double px_per_unit, bool caption_strip)
    : host_(host), gauges_(std::move(gauges)), scale_(px_per_unit), caption_strip_(caption_strip) {
    layout_ = lay_out_panel(gauge_shapes(host_, gauges_), LABEL_ROOM);
    width_ = static_cast<int>(std::lround(layout_.width * scale_));
    height_ = static_cast<int>(std::lround((layout_.height + (caption_strip_ ? CAPTION_ROOM : 0)) * scale_));
}

Surface PanelSheet::draw(const std::string& caption) {
    Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_));
    if (cairo_surface_status(sheet.get()) != CAIRO_STATUS_SUCCESS)
        throw Failure("cannot make a " + std::to_string(width_) + " x " + std::to_string(height_) + " panel sheet");
    cairo_t* cr = cairo_create(sheet.get());

    // Panel metal: the dark grey-black of the period's cockpits, a little
    // lighter towards the top, with a thin frame.
    cairo_pattern_t* metal = cairo_pattern_create_linear(0, 0, 0, height_);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.255, 0.27, 0.28);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.18, 0.19, 0.2);
    cairo_set_source(cr, metal);
    cairo_paint(cr);
    cairo_pattern_destroy(metal);
    set_rgb(cr, 0x101214);
    cairo_set_line_width(cr, std::max(1.0, scale_ * 0.8));
    cairo_rectangle(cr, 0.5 * scale_, 0.5 * scale_, width_ - scale_, height_ - scale_);
    cairo_stroke(cr);

    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    for (const Gauge* gauge : gauges_) {
        const Gauge& g = *gauge;
        const Placement& p = *layout_.find(g.name);
        const double x = p.x * scale_, y = p.y * scale_, w = p.width * scale_, h = p.height * scale_;
        const Image picture = host_.render(g);
        if (picture.width > 0 && picture.height > 0) {
            const Surface s = to_surface(picture);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, w / picture.width, h / picture.height);
            cairo_set_source_surface(cr, s.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr),
                                     w >= picture.width ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        // A gauge that draws nothing still shows where it sits.
        bool empty = true;
        for (uint32_t px : picture.pixels) empty = empty && (px >> 24) == 0;
        if (empty) {
            const double dash = std::max(2.0, scale_);
            cairo_set_dash(cr, &dash, 1, 0);
            cairo_set_line_width(cr, 1.0);
            set_rgb(cr, 0x9A9480);
            cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
        }
        // The name below, centred, in panel-label cream; a gauge narrower
        // than its name (the invisible one) has it running downwards.
        cairo_set_font_size(cr, 2.9 * scale_);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, g.name.c_str(), &ext);
        set_rgb(cr, 0xE8DFC0);
        if (ext.x_advance > w + 4 * scale_) {
            cairo_save(cr);
            cairo_move_to(cr, x + w / 2 - ext.height / 2 + ext.height, y + h + 2.0 * scale_);
            cairo_rotate(cr, M_PI / 2);
            cairo_show_text(cr, g.name.c_str());
            cairo_restore(cr);
        } else {
            const double tx = std::clamp(x + (w - ext.x_advance) / 2, scale_, width_ - ext.x_advance - scale_);
            cairo_move_to(cr, tx, y + h + 4.0 * scale_);
            cairo_show_text(cr, g.name.c_str());
        }
    }
    if (caption_strip_ && !caption.empty()) {
        cairo_set_font_size(cr, 3.6 * scale_);
        set_rgb(cr, 0xF2EEDC);
        cairo_move_to(cr, 6 * scale_, height_ - 2.2 * scale_);
        cairo_show_text(cr, caption.c_str());
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet.get());
    return sheet;
}

}  // namespace zephel::cli
