// Reading dials and needles off pictures: walking a circle or a ray about a
// pivot and finding the cream marks painted there. Directions are degrees
// clockwise from straight up; the pivot is a point in picture coordinates,
// as the needle element's position gives it.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/bitmap.h"
#include "host/image.h"

namespace needle_pictures {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline Rgb rgb(const zephel::Bitmap& bitmap, int x, int y) {
    const uint32_t c = bitmap.rgb(x, y);
    return {int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
}
// Opaque pixels only, so premultiplied equals straight.
inline Rgb rgb(const zephel::Image& image, int x, int y) {
    const zephel::Rgba c = image.at(x, y);
    return {c.r, c.g, c.b};
}

inline bool cream(Rgb c) { return c.r > 150 && c.g > 140 && c.b > 100; }

struct Pivot {
    double x, y;
};

// The pixel holding the point at `radius` from the pivot in `direction`.
inline void pixel_at(Pivot p, double radius, double direction, int& x, int& y) {
    const double a = direction * M_PI / 180.0;
    x = static_cast<int>(std::floor(p.x + radius * std::sin(a)));
    y = static_cast<int>(std::floor(p.y - radius * std::cos(a)));
}

template <class Picture>
Rgb sample(const Picture& picture, Pivot p, double radius, double direction) {
    int x, y;
    pixel_at(p, radius, direction, x, y);
    return rgb(picture, x, y);
}

inline double angle_between(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

// Directions of the middles of the cream runs met walking the whole circle.
template <class Picture>
std::vector<double> marks_on_circle(const Picture& picture, Pivot p, double radius) {
    constexpr double step = 0.05;
    constexpr int n = static_cast<int>(360 / step);
    std::vector<bool> hit(n);
    for (int i = 0; i < n; ++i) hit[i] = cream(sample(picture, p, radius, i * step));
    int start = 0;
    while (start < n && hit[start]) ++start;  // begin in a gap so no run is split
    std::vector<double> marks;
    std::optional<int> run;
    for (int k = 1; k <= n; ++k) {
        const bool h = hit[(start + k) % n];
        if (h && !run) run = k;
        if (!h && run) {
            marks.push_back(std::fmod((start + (*run + k - 1) / 2.0) * step, 360.0));
            run.reset();
        }
    }
    return marks;
}

inline std::optional<double> nearest_mark(const std::vector<double>& marks, double direction) {
    std::optional<double> best;
    for (double m : marks)
        if (!best || angle_between(m, direction) < angle_between(*best, direction)) best = m;
    return best;
}

// Cream on the ray at `radius` or one pixel to either side of it: thin
// anti-aliased marks and the turned needle need not hit the same pixel centre.
template <class Picture>
bool cream_near(const Picture& picture, Pivot p, double radius, double direction) {
    const double side = std::atan2(1.0, radius) * 180.0 / M_PI;
    for (double d : {direction, direction - side, direction + side})
        if (cream(sample(picture, p, radius, d))) return true;
    return false;
}

// The radii [first, last] of the first cream run along the ray from r0 outwards
// to r1, in whole pixels of radius; nothing when the ray meets no cream.
template <class Picture>
std::optional<std::pair<int, int>> cream_along(const Picture& picture, Pivot p, double direction, int r0, int r1) {
    std::optional<std::pair<int, int>> run;
    for (int r = r0; r <= r1; ++r) {
        const bool c = cream_near(picture, p, r, direction);
        if (c && !run) run = std::pair{r, r};
        else if (c && run->second == r - 1) run->second = r;
        else if (!c && run) break;
    }
    return run;
}

// True when a needle drawn in `picture` runs along the ray from r0 to r1
// without a gap: every pixel there is cream or near-white, save where the
// dial itself is painted cream (a numeral the needle may or may not cover).
// Run up to a mark's inner end, it shows that the needle reaches the mark.
template <class Dial>
bool needle_along(const zephel::Image& picture, const Dial& dial, Pivot p, double direction, int r0, int r1) {
    for (int r = r0; r <= r1; ++r)
        if (!cream(sample(dial, p, r, direction)) && !cream_near(picture, p, r, direction)) return false;
    return true;
}

}  // namespace needle_pictures
