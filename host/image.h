// RGBA pictures the renderer draws into, and PNG output.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zephel {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// Premultiplied RGBA, 8 bits a channel, one uint32 per pixel holding the
// bytes R, G, B, A in memory order; row-major, top row first. (0,0,0,0) is
// fully transparent.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0u) {}

    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba c);
    // The same picture with alpha divided out (straight RGBA bytes), e.g. for GIF.
    std::vector<uint8_t> straight_rgba() const;
};

inline uint32_t pack_rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16 | uint32_t{a} << 24;
}

// Writes a PNG through Cairo, via a temporary file renamed into place.
// Throws HostError naming the path when it cannot be written.
void write_png(const Image& image, const std::filesystem::path& path);
// Reads a PNG written by write_png (for golden pictures). Throws HostError.
Image read_png(const std::filesystem::path& path);

}  // namespace zephel
