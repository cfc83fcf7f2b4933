// Writes 8-bit palettised Windows bitmaps: 40-byte information header,
// 256-entry palette, rows bottom-up and padded to 4 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> pixels;  // row-major, top row first
};

// The whole file, ready to write.
std::vector<uint8_t> encode_bmp8(const IndexedImage& image);

}  // namespace artgen
