// Drawing a gauge: each element in drawing order into an RGBA picture the
// size of the gauge's root bitmap. Geometry (where each picture lands, as an
// inverse mapping from picture to bitmap), sampling (nearest or bilinear by
// the draw flag) and compositing (over, through an optional window mask)
// are kept apart.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "host/backend.h"
#include "host/bitmap.h"
#include "host/image.h"
#include "host/model.h"
#include "host/state.h"

namespace zephel {

// A bitmap ready for drawing: premultiplied RGBA, pure black made fully
// transparent (keyed) or kept opaque.
struct Texture {
    int width = 0, height = 0;
    std::vector<uint32_t> keyed;   // pure black -> (0,0,0,0)
    std::vector<uint32_t> opaque;  // every pixel alpha 255
    std::vector<uint8_t> window;   // as a mask: 1 where not pure black
};

// Decoded bitmaps, loaded once through the backend by ID.
class BitmapCache {
public:
    explicit BitmapCache(const Backend& backend) : backend_(backend) {}
    // Throws HostError naming the bitmap when it is missing or malformed.
    const Texture& texture(uint32_t id);
    const Bitmap& bitmap(uint32_t id);

private:
    struct Entry {
        Bitmap bitmap;
        Texture texture;
    };
    const Entry& entry(uint32_t id);
    const Backend& backend_;
    std::unordered_map<uint32_t, std::unique_ptr<Entry>> entries_;
};

// 2x3 affine map from picture coordinates (pixel centres at +0.5) to bitmap
// coordinates: sx = a*x + b*y + c, sy = d*x + e*y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
    Affine inverse() const;
    Affine then(const Affine& next) const;  // next ∘ this
    static Affine translate(double dx, double dy);
    static Affine rotate_degrees_clockwise(double degrees);  // on screen, y down
    static Affine scale(double sx, double sy);
};

// One picture to composite: a bitmap placed by `to_bitmap`, optionally seen
// through a window mask placed axis-aligned at (mask_x, mask_y).
struct DrawCommand {
    const Texture* texture = nullptr;
    Affine to_bitmap;  // picture -> bitmap (the inverse mapping)
    bool bilinear = false;
    bool transparent = true;
    const Texture* mask = nullptr;
    int mask_x = 0, mask_y = 0;
};

// The draw commands of one gauge in one state (geometry only).
std::vector<DrawCommand> layout_gauge(const Gauge& gauge, const std::vector<ElementState>& states,
                                      BitmapCache& bitmaps);
// Composites the commands, in order, over `target`.
void composite(Image& target, const std::vector<DrawCommand>& commands);
// Both: the gauge's picture, the size of its root bitmap, transparent where
// nothing is drawn.
Image render_gauge(const Gauge& gauge, const std::vector<ElementState>& states, BitmapCache& bitmaps);

}  // namespace zephel
