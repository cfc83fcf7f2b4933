#include "host/image.h"

#include <cairo.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "host/backend.h"

namespace zephel {

Rgba Image::at(int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16),
            static_cast<uint8_t>(p >> 24)};
}

void Image::set(int x, int y, Rgba c) { pixels[static_cast<size_t>(y) * width + x] = pack_rgba(c.r, c.g, c.b, c.a); }

std::vector<uint8_t> Image::straight_rgba() const {
    std::vector<uint8_t> out(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        const uint32_t a = p >> 24;
        for (int c = 0; c < 3; ++c) {
            const uint32_t v = (p >> (8 * c)) & 0xFF;
            out[i * 4 + c] = a == 0 ? 0 : static_cast<uint8_t>(std::min<uint32_t>(255, (v * 255 + a / 2) / a));
        }
        out[i * 4 + 3] = static_cast<uint8_t>(a);
    }
    return out;
}

void write_png(const Image& image, const std::filesystem::path& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw HostError(path.string() + ": cannot make a " + std::to_string(image.width) + "x" +
                        std::to_string(image.height) + " picture");
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            row[x] = (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);  // RGBA bytes -> 0xAARRGGBB
        }
    }
    cairo_surface_mark_dirty(surface);
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    const cairo_status_t status = cairo_surface_write_to_png(surface, tmp.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throw HostError(path.string() + ": cannot write the picture (" + cairo_status_to_string(status) + ")");
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw HostError(path.string() + ": cannot write the picture (" + ec.message() + ")");
    }
}

Image read_png(const std::filesystem::path& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        const std::string why = cairo_status_to_string(cairo_surface_status(surface));
        cairo_surface_destroy(surface);
        throw HostError(path.string() + ": cannot read the picture (" + why + ")");
    }
    cairo_surface_t* argb = surface;
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                          cairo_image_surface_get_height(surface));
        cairo_t* cr = cairo_create(argb);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    cairo_surface_flush(argb);
    Image image(cairo_image_surface_get_width(argb), cairo_image_surface_get_height(argb));
    const unsigned char* data = cairo_image_surface_get_data(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = row[x];
            image.pixels[static_cast<size_t>(y) * image.width + x] =
                (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
        }
    }
    cairo_surface_destroy(argb);
    return image;
}

}  // namespace zephel
