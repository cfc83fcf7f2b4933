#include "bmp_writer.h"

namespace artgen {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encode_bmp8(const IndexedImage& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) + 3u) & ~3u;
    const uint32_t pixel_bytes = stride * static_cast<uint32_t>(image.height);
    const uint32_t pixel_offset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> out;
    out.reserve(pixel_offset + pixel_bytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    put32(out, pixel_offset + pixel_bytes);
    put32(out, 0);
    put32(out, pixel_offset);
    // Information header.
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
    put16(out, 1);                                     // planes
    put16(out, 8);                                     // bits per pixel
    put32(out, 0);                                     // uncompressed
    put32(out, pixel_bytes);
    put32(out, 0);  // resolution carries no meaning
    put32(out, 0);
    put32(out, 256);  // colours used
    put32(out, 0);    // important colours: all
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), stride - image.width, 0);
    }
    return out;
}

}  // namespace artgen
