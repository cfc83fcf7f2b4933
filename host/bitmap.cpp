// 8-bit BMP/DIB decoding. Every read is checked against the input's length;
// every fault ends in one HostError naming the source and what is wrong.
#include "host/bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace zephel {
namespace {

constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

class Input {
public:
    Input(std::span<const uint8_t> bytes, std::string_view name) : bytes_(bytes), name_(name) {}

    [[noreturn]] void fail(const std::string& fault) const {
        throw HostError(std::string(name_) + ": " + fault);
    }
    void need(uint64_t offset, uint64_t length, const char* what) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            fail(std::string("truncated: ") + what + " needs bytes " + std::to_string(offset) + " to " +
                 std::to_string(offset + length) + " but the data has " + std::to_string(bytes_.size()));
    }
    uint16_t u16(uint64_t at, const char* what) const {
        need(at, 2, what);
        return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    uint32_t u32(uint64_t at, const char* what) const {
        need(at, 4, what);
        return uint32_t{bytes_[at]} | uint32_t{bytes_[at + 1]} << 8 | uint32_t{bytes_[at + 2]} << 16 |
               uint32_t{bytes_[at + 3]} << 24;
    }
    int32_t i32(uint64_t at, const char* what) const { return static_cast<int32_t>(u32(at, what)); }
    const uint8_t* data(uint64_t at) const { return bytes_.data() + at; }
    size_t size() const { return bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
    std::string_view name_;
};

}  // namespace

Bitmap decode_bitmap(std::span<const uint8_t> bytes, std::string_view name) {
    const Input in(bytes, name);
    if (bytes.empty()) in.fail("empty file, expected an 8-bit Windows bitmap");

    // A file starts with "BM" and a 14-byte file header; a resource is the
    // bare DIB, starting with its information header.
    uint64_t dib = 0;
    bool file = false;
    uint32_t pixel_offset = 0;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        file = true;
        in.need(0, 14, "file header");
        pixel_offset = in.u32(10, "file header");
        dib = 14;
    }
    const uint32_t header_size = in.u32(dib, "information header");
    if (header_size != 40 && header_size != 108 && header_size != 124)
        in.fail("information header of " + std::to_string(header_size) +
                " bytes; expected 40 (or 108/124)");
    in.need(dib, header_size, "information header");
    const int32_t width = in.i32(dib + 4, "width");
    const int32_t height_field = in.i32(dib + 8, "height");
    const uint16_t planes = in.u16(dib + 12, "planes");
    const uint16_t bits = in.u16(dib + 14, "bit count");
    const uint32_t compression = in.u32(dib + 16, "compression");
    const uint32_t colours_used = in.u32(dib + 32, "colours used");

    if (planes != 1) in.fail("planes is " + std::to_string(planes) + ", expected 1");
    if (bits != 8) in.fail(std::to_string(bits) + " bits per pixel; expected 8 (palettised)");
    if (compression != 0) in.fail("compression " + std::to_string(compression) + "; expected 0 (uncompressed)");
    if (width <= 0 || width > kMaxSide) in.fail("width " + std::to_string(width) + " outside 1.." + std::to_string(kMaxSide));
    if (height_field == 0 || height_field == INT32_MIN || std::abs(int64_t{height_field}) > kMaxSide)
        in.fail("height " + std::to_string(height_field) + " outside 1.." + std::to_string(kMaxSide) + " (negative for top-down)");
    const bool top_down = height_field < 0;
    const int32_t height = top_down ? -height_field : height_field;
    if (int64_t{width} * height > kMaxPixels) in.fail("picture too large");
    if (colours_used > 256) in.fail("colours used is " + std::to_string(colours_used) + ", at most 256 for 8 bits");
    const uint32_t palette_entries = colours_used == 0 ? 256 : colours_used;

    Bitmap bmp;
    bmp.width = width;
    bmp.height = height;
    const uint64_t palette_at = dib + header_size;
    in.need(palette_at, uint64_t{palette_entries} * 4, "palette");
    for (uint32_t i = 0; i < palette_entries; ++i) {
        const uint8_t* p = in.data(palette_at + i * 4);  // blue, green, red, reserved
        bmp.palette[i] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }

    const uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
    const uint64_t pixels_at = file ? pixel_offset : palette_at + uint64_t{palette_entries} * 4;
    if (file && pixels_at < palette_at + uint64_t{palette_entries} * 4)
        in.fail("pixel data offset " + std::to_string(pixel_offset) + " lies inside the headers or palette");
    in.need(pixels_at, stride * height, "pixel rows");
    bmp.pixels.resize(static_cast<size_t>(width) * height);
    for (int32_t row = 0; row < height; ++row) {
        const int32_t y = top_down ? row : height - 1 - row;
        const uint8_t* src = in.data(pixels_at + stride * row);
        std::copy(src, src + width, bmp.pixels.begin() + static_cast<size_t>(y) * width);
    }
    return bmp;
}

}  // namespace zephel
