// Geometry, sampling and compositing of gauge pictures.
#include "host/render.h"

#include <algorithm>
#include <cmath>

namespace zephel {

// ---- Bitmaps ------------------------------------------------------------------

const BitmapCache::Entry& BitmapCache::entry(uint32_t id) {
    auto it = entries_.find(id);
    if (it != entries_.end()) return *it->second;
    std::optional<std::vector<uint8_t>> bytes = backend_.bitmap(id);
    if (!bytes) throw HostError(backend_.bitmap_name(id) + ": missing (the module names bitmap " + std::to_string(id) + ")");
    auto e = std::make_unique<Entry>();
    e->bitmap = decode_bitmap(*bytes, backend_.bitmap_name(id));
    const Bitmap& b = e->bitmap;
    Texture& t = e->texture;
    t.width = b.width;
    t.height = b.height;
    const size_t n = b.pixels.size();
    t.keyed.resize(n);
    t.opaque.resize(n);
    t.window.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t rgb = b.palette[b.pixels[i]];
        const uint32_t rgba = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16 | 0xFF000000u;
        t.opaque[i] = rgba;
        const bool black = rgb == 0;  // pure black, whatever index holds it
        t.keyed[i] = black ? 0u : rgba;
        t.window[i] = black ? 0 : 1;
    }
    return *entries_.emplace(id, std::move(e)).first->second;
}

const Texture& BitmapCache::texture(uint32_t id) { return entry(id).texture; }
const Bitmap& BitmapCache::bitmap(uint32_t id) { return entry(id).bitmap; }

// ---- Geometry -----------------------------------------------------------------

Affine Affine::translate(double dx, double dy) { return {1, 0, dx, 0, 1, dy}; }
Affine Affine::scale(double sx, double sy) { return {sx, 0, 0, 0, sy, 0}; }
Affine Affine::rotate_degrees_clockwise(double degrees) {
    // On a y-down screen, (x cos - y sin, x sin + y cos) turns +x towards +y: clockwise.
    const double r = degrees * M_PI / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    return {c, -s, 0, s, c, 0};
}
Affine Affine::then(const Affine& n) const {
    return {n.a * a + n.b * d, n.a * b + n.b * e, n.a * c + n.b * f + n.c,
            n.d * a + n.e * d, n.d * b + n.e * e, n.d * c + n.e * f + n.f};
}
Affine Affine::inverse() const {
    const double det = a * e - b * d;
    if (det == 0.0) return {0, 0, -1e9, 0, 0, -1e9};  // degenerate: maps everything outside
    const double ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
    return {ia, ib, -(ia * c + ib * f), id, ie, -(id * c + ie * f)};
}

std::vector<DrawCommand> layout_gauge(const Gauge& gauge, const std::vector<ElementState>& states,
                                      BitmapCache& bitmaps) {
    std::vector<DrawCommand> out;
    out.reserve(gauge.elements.size());
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
        const Element& e = gauge.elements[i];
        const ElementState s = i < states.size() ? states[i] : ElementState{};
        DrawCommand c;
        c.bilinear = e.bilinear();
        c.transparent = e.transparent();
        const double px = e.position_x, py = e.position_y;
        switch (e.kind) {
        case ElementKind::StaticImage:
            c.texture = &bitmaps.texture(e.bitmap);
            c.to_bitmap = Affine::translate(-px, -py);
            break;
        case ElementKind::Icon:
            c.texture = &bitmaps.texture(e.bitmap + static_cast<uint32_t>(s.picture));
            c.to_bitmap = Affine::translate(-px, -py);
            break;
        case ElementKind::Slider:
            c.texture = &bitmaps.texture(e.bitmap);
            c.to_bitmap = Affine::translate(-(px + s.shift_x), -(py + s.shift_y));
            break;
        case ElementKind::Needle:
            // The bitmap's +x from its pivot (offset) points along the angle,
            // the pivot placed on the needle's position. Points name pixels:
            // the turn is about the pivot pixel's centre.
            c.texture = &bitmaps.texture(e.bitmap);
            c.to_bitmap = Affine::translate(-(px + 0.5), -(py + 0.5))
                              .then(Affine::rotate_degrees_clockwise(-(s.angle - 90.0)))
                              .then(Affine::translate(e.offset_x + 0.5, e.offset_y + 0.5));
            break;
        case ElementKind::MovingImage:
            c.texture = &bitmaps.texture(e.bitmap);
            c.to_bitmap = Affine::translate(-(px + s.shift_x), -(py + s.shift_y));
            c.mask = &bitmaps.texture(e.mask_bitmap());
            c.mask_x = e.position_x;
            c.mask_y = e.position_y;
            break;
        case ElementKind::Sprite: {
            // Texture centre on the offset point, scaled, shifted, then turned
            // about the offset point (the centre of that pixel); seen through
            // the mask at the position.
            c.texture = &bitmaps.texture(e.bitmap);
            const double sx = e.texture_scale_x, sy = e.texture_scale_y;
            c.to_bitmap = Affine::translate(-(e.offset_x + 0.5), -(e.offset_y + 0.5))
                              .then(Affine::rotate_degrees_clockwise(-s.rotation))
                              .then(Affine::translate(-s.shift_x, -s.shift_y))
                              .then(Affine::scale(sx, sy))
                              .then(Affine::translate(c.texture->width / 2.0, c.texture->height / 2.0));
            c.mask = &bitmaps.texture(e.mask_bitmap());
            c.mask_x = e.position_x;
            c.mask_y = e.position_y;
            break;
        }
        }
        out.push_back(c);
    }
    return out;
}

// ---- Sampling and compositing -------------------------------------------------

namespace {

// src over dst, both premultiplied.
inline uint32_t over(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    if (a == 255) return src;
    if (a == 0) return dst;
    const uint32_t k = 255 - a;
    uint32_t rb = (dst & 0x00FF00FFu) * k + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ga = ((dst >> 8) & 0x00FF00FFu) * k + 0x00800080u;
    ga = (ga + ((ga >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return src + (rb | ga);
}

// Weighted sum of four premultiplied pixels, weights in 1/256 summing to 256.
inline uint32_t blend4(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy) {
    const uint32_t w00 = (256 - wx) * (256 - wy) >> 8, w10 = wx * (256 - wy) >> 8;
    const uint32_t w01 = (256 - wx) * wy >> 8, w11 = 256 - w00 - w10 - w01;
    const uint32_t rb = ((p00 & 0x00FF00FFu) * w00 + (p10 & 0x00FF00FFu) * w10 + (p01 & 0x00FF00FFu) * w01 +
                         (p11 & 0x00FF00FFu) * w11) >> 8 & 0x00FF00FFu;
    const uint32_t ga = (((p00 >> 8) & 0x00FF00FFu) * w00 + ((p10 >> 8) & 0x00FF00FFu) * w10 +
                         ((p01 >> 8) & 0x00FF00FFu) * w01 + ((p11 >> 8) & 0x00FF00FFu) * w11) & 0xFF00FF00u;
    return rb | ga;
}

struct Span {
    int x0, y0, x1, y1;  // half-open
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// Where the bitmap can land in the picture: its corners mapped forward.
Span footprint(const DrawCommand& c, int width, int height) {
    const Affine fwd = c.to_bitmap.inverse();
    const double w = c.texture->width, h = c.texture->height;
    double minx = 1e18, miny = 1e18, maxx = -1e18, maxy = -1e18;
    for (const auto& [u, v] : {std::pair{0.0, 0.0}, {w, 0.0}, {0.0, h}, {w, h}}) {
        const double x = fwd.a * u + fwd.b * v + fwd.c, y = fwd.d * u + fwd.e * v + fwd.f;
        minx = std::min(minx, x), maxx = std::max(maxx, x), miny = std::min(miny, y), maxy = std::max(maxy, y);
    }
    Span s{static_cast<int>(std::floor(std::max(minx - 1, -1.0))), static_cast<int>(std::floor(std::max(miny - 1, -1.0))),
           static_cast<int>(std::ceil(std::min(maxx + 1, width + 1.0))), static_cast<int>(std::ceil(std::min(maxy + 1, height + 1.0)))};
    s.x0 = std::max(s.x0, 0), s.y0 = std::max(s.y0, 0), s.x1 = std::min(s.x1, width), s.y1 = std::min(s.y1, height);
    if (c.mask) {
        s.x0 = std::max(s.x0, c.mask_x), s.y0 = std::max(s.y0, c.mask_y);
        s.x1 = std::min<int64_t>(s.x1, int64_t{c.mask_x} + c.mask->width);
        s.y1 = std::min<int64_t>(s.y1, int64_t{c.mask_y} + c.mask->height);
    }
    return s;
}

// Whole-pixel translation: rows copied straight across.
template <bool Masked>
void draw_translated(Image& target, const DrawCommand& c, const std::vector<uint32_t>& src, const Span& s) {
    const Texture& t = *c.texture;
    const int du = static_cast<int>(c.to_bitmap.c), dv = static_cast<int>(c.to_bitmap.f);
    const int x0 = std::max(s.x0, -du), x1 = std::min(s.x1, t.width - du);
    const int y0 = std::max(s.y0, -dv), y1 = std::min(s.y1, t.height - dv);
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = target.pixels.data() + static_cast<size_t>(y) * target.width;
        const uint32_t* in = src.data() + static_cast<size_t>(y + dv) * t.width + du;
        const uint8_t* mask_row =
            Masked ? c.mask->window.data() + static_cast<size_t>(y - c.mask_y) * c.mask->width - c.mask_x : nullptr;
        for (int x = x0; x < x1; ++x) {
            if (Masked && !mask_row[x]) continue;
            const uint32_t p = in[x];
            if (p >> 24 == 255)
                out[x] = p;
            else if (p)
                out[x] = over(p, out[x]);
        }
    }
}

// Any affine map, sampled in 16.16 fixed point.
template <bool Bilinear, bool Masked>
void draw_mapped(Image& target, const DrawCommand& c, const std::vector<uint32_t>& src, const Span& s) {
    const Texture& t = *c.texture;
    const Affine& m = c.to_bitmap;
    constexpr double one = 65536.0;
    const int64_t dux = std::llround(m.a * one), dvx = std::llround(m.d * one);
    const int64_t tw = t.width, th = t.height;
    const uint32_t* texels = src.data();
    for (int y = s.y0; y < s.y1; ++y) {
        uint32_t* out = target.pixels.data() + static_cast<size_t>(y) * target.width;
        const uint8_t* mask_row =
            Masked ? c.mask->window.data() + static_cast<size_t>(y - c.mask_y) * c.mask->width - c.mask_x : nullptr;
        const double cx = s.x0 + 0.5, cy = y + 0.5;
        int64_t u = std::llround((m.a * cx + m.b * cy + m.c) * one);
        int64_t v = std::llround((m.d * cx + m.e * cy + m.f) * one);
        if (Bilinear) u -= 32768, v -= 32768;
        for (int x = s.x0; x < s.x1; ++x, u += dux, v += dvx) {
            if (Masked && !mask_row[x]) continue;
            const int64_t iu = u >> 16, iv = v >> 16;
            uint32_t p;
            if (!Bilinear) {
                if (static_cast<uint64_t>(iu) >= static_cast<uint64_t>(tw) || static_cast<uint64_t>(iv) >= static_cast<uint64_t>(th))
                    continue;
                p = texels[iv * tw + iu];
            } else {
                if (iu < -1 || iv < -1 || iu >= tw || iv >= th) continue;
                uint32_t q00, q10, q01, q11;
                if (iu >= 0 && iv >= 0 && iu + 1 < tw && iv + 1 < th) {
                    const uint32_t* q = texels + iv * tw + iu;
                    q00 = q[0], q10 = q[1], q01 = q[tw], q11 = q[tw + 1];
                } else {
                    auto at = [&](int64_t a, int64_t b) -> uint32_t {
                        return (a < 0 || b < 0 || a >= tw || b >= th) ? 0u : texels[b * tw + a];
                    };
                    q00 = at(iu, iv), q10 = at(iu + 1, iv), q01 = at(iu, iv + 1), q11 = at(iu + 1, iv + 1);
                }
                if (q00 == q10 && q00 == q01 && q00 == q11)
                    p = q00;  // flat neighbourhood: nothing to smooth
                else
                    p = blend4(q00, q10, q01, q11, static_cast<uint32_t>(u >> 8) & 0xFF, static_cast<uint32_t>(v >> 8) & 0xFF);
            }
            if (p >> 24 == 255)
                out[x] = p;
            else if (p)
                out[x] = over(p, out[x]);
        }
    }
}

void draw(Image& target, const DrawCommand& c) {
    const Texture& t = *c.texture;
    if (t.width == 0 || t.height == 0) return;
    const Span s = footprint(c, target.width, target.height);
    if (s.empty()) return;
    const std::vector<uint32_t>& src = c.transparent ? t.keyed : t.opaque;
    const Affine& m = c.to_bitmap;
    // Whole-pixel translations copy straight across, whatever the sampling.
    const bool integral = m.a == 1 && m.b == 0 && m.d == 0 && m.e == 1 && m.c == std::floor(m.c) &&
                          m.f == std::floor(m.f) && std::fabs(m.c) < 1e9 && std::fabs(m.f) < 1e9;
    const bool masked = c.mask != nullptr;
    if (integral)
        masked ? draw_translated<true>(target, c, src, s) : draw_translated<false>(target, c, src, s);
    else if (c.bilinear)
        masked ? draw_mapped<true, true>(target, c, src, s) : draw_mapped<true, false>(target, c, src, s);
    else
        masked ? draw_mapped<false, true>(target, c, src, s) : draw_mapped<false, false>(target, c, src, s);
}

}  // namespace

void composite(Image& target, const std::vector<DrawCommand>& commands) {
    for (const DrawCommand& c : commands) draw(target, c);
}

Image render_gauge(const Gauge& gauge, const std::vector<ElementState>& states, BitmapCache& bitmaps) {
    if (gauge.elements.empty()) return Image();
    const Texture& root = bitmaps.texture(gauge.elements.front().bitmap);
    Image image(root.width, root.height);
    composite(image, layout_gauge(gauge, states, bitmaps));
    return image;
}

}  // namespace zephel
