// 8-bit palettised Windows bitmaps: a BMP file ("BM" header) or a bare DIB
// (as a resource holds it). Everything is bounds-checked; malformed input is
// rejected with a HostError that names the source and the fault.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "host/backend.h"

namespace zephel {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::array<uint32_t, 256> palette{};  // 0x00RRGGBB; entries past the colours used are 0
    std::vector<uint8_t> pixels;          // palette indices, row-major, top row first

    uint32_t rgb(int x, int y) const { return palette[pixels[static_cast<size_t>(y) * width + x]]; }
};

// `name` appears in every message, e.g. "resources/1503.bmp: ...".
Bitmap decode_bitmap(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zephel
