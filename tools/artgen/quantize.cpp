#include "quantize.h"

#include <algorithm>
#include <map>
#include <vector>

namespace artgen {
namespace {

constexpr Rgb BLACK{0, 0, 0};
constexpr uint32_t HALF_COVERED = 128;

struct Sample {
    Rgb colour;
    uint32_t count;
};

// Drawn colour of a pixel, or nothing when it is transparent.
bool drawn_colour(uint32_t px, Rgb& out) {
    const uint32_t a = px >> 24;
    if (a < HALF_COVERED) return false;
    auto unpremultiply = [a](uint32_t c) {
        return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    out = {unpremultiply((px >> 16) & 0xFF), unpremultiply((px >> 8) & 0xFF), unpremultiply(px & 0xFF)};
    // Drawn pure black would read as transparent: lift it to the darkest drawable grey.
    if (out == BLACK) out = {1, 1, 1};
    return true;
}

// Median cut over the distinct drawn colours, weighted by how often each occurs.
std::vector<Rgb> median_cut(std::vector<Sample> samples, size_t max_colours) {
    if (samples.empty()) return {};
    if (samples.size() <= max_colours) {
        std::vector<Rgb> out;
        for (const Sample& s : samples) out.push_back(s.colour);
        return out;
    }
    struct Box {
        size_t begin, end;
    };
    auto channel = [](const Rgb& c, int ch) { return ch == 0 ? c.r : ch == 1 ? c.g : c.b; };
    auto widest = [&](const Box& b, int& ch_out) {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            uint8_t lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, channel(samples[i].colour, ch));
                hi = std::max(hi, channel(samples[i].colour, ch));
            }
            if (hi - lo > best) {
                best = hi - lo;
                ch_out = ch;
            }
        }
        return best;
    };
    std::vector<Box> boxes{{0, samples.size()}};
    while (boxes.size() < max_colours) {
        // Split the box with the widest channel range; ties go to the earliest box.
        int best_range = 0, best_channel = 0;
        size_t best_box = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            int ch = 0;
            const int range = widest(boxes[i], ch);
            if (range > best_range) {
                best_range = range;
                best_channel = ch;
                best_box = i;
            }
        }
        if (best_box == boxes.size()) break;
        Box box = boxes[best_box];
        std::stable_sort(samples.begin() + box.begin, samples.begin() + box.end,
                         [&](const Sample& a, const Sample& b) {
                             return channel(a.colour, best_channel) < channel(b.colour, best_channel);
                         });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += samples[i].count;
        uint64_t running = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += samples[i].count;
            split = i + 1;
            if (running * 2 >= total) break;
        }
        boxes[best_box] = {box.begin, split};
        boxes.push_back({split, box.end});
    }
    std::vector<Rgb> palette;
    for (const Box& b : boxes) {
        uint64_t r = 0, g = 0, bl = 0, n = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            r += uint64_t{samples[i].colour.r} * samples[i].count;
            g += uint64_t{samples[i].colour.g} * samples[i].count;
            bl += uint64_t{samples[i].colour.b} * samples[i].count;
            n += samples[i].count;
        }
        Rgb c{static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
              static_cast<uint8_t>((bl + n / 2) / n)};
        if (c == BLACK) c = {1, 1, 1};
        palette.push_back(c);
    }
    return palette;
}

uint32_t distance(const Rgb& a, const Rgb& b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return static_cast<uint32_t>(dr * dr * 3 + dg * dg * 4 + db * db * 2);
}

const uint32_t* row_of(const uint32_t* argb, int y, int stride_bytes) {
    return reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(argb) +
                                             static_cast<size_t>(y) * stride_bytes);
}

}  // namespace

IndexedImage quantize(const uint32_t* argb, int width, int height, int stride_bytes,
                      PaletteStyle style) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, 0);

    std::map<uint32_t, uint32_t> counts;  // packed RGB -> pixels
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = row_of(argb, y, stride_bytes);
        for (int x = 0; x < width; ++x) {
            Rgb c;
            if (drawn_colour(row[x], c)) ++counts[(c.r << 16) | (c.g << 8) | c.b];
        }
    }
    std::vector<Sample> samples;
    for (const auto& [packed, n] : counts)
        samples.push_back({{static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
                            static_cast<uint8_t>(packed)},
                           n});

    // Index 0 (and, in the dark-grey style, index 1) are reserved.
    const uint8_t first_free = style == PaletteStyle::standard ? 1 : 2;
    const uint8_t transparent_index = style == PaletteStyle::standard ? 0 : 1;
    if (style == PaletteStyle::dark_grey_index_0) image.palette[0] = {40, 40, 40};
    const std::vector<Rgb> colours = median_cut(std::move(samples), 256 - first_free);
    for (size_t i = 0; i < colours.size(); ++i) image.palette[first_free + i] = colours[i];

    std::map<uint32_t, uint8_t> nearest;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = row_of(argb, y, stride_bytes);
        for (int x = 0; x < width; ++x) {
            Rgb c;
            uint8_t index = transparent_index;
            if (drawn_colour(row[x], c)) {
                const uint32_t packed = (c.r << 16) | (c.g << 8) | c.b;
                auto it = nearest.find(packed);
                if (it == nearest.end()) {
                    uint8_t best = first_free;
                    uint32_t best_d = UINT32_MAX;
                    for (size_t i = 0; i < colours.size(); ++i) {
                        const uint32_t d = distance(c, colours[i]);
                        if (d < best_d) {
                            best_d = d;
                            best = static_cast<uint8_t>(first_free + i);
                        }
                    }
                    it = nearest.emplace(packed, best).first;
                }
                index = it->second;
            }
            image.pixels[static_cast<size_t>(y) * width + x] = index;
        }
    }
    return image;
}

IndexedImage quantize_mask(const uint32_t* argb, int width, int height, int stride_bytes) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.palette[1] = {1, 1, 1};
    image.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = row_of(argb, y, stride_bytes);
        for (int x = 0; x < width; ++x)
            if ((row[x] >> 24) >= HALF_COVERED) image.pixels[static_cast<size_t>(y) * width + x] = 1;
    }
    return image;
}

}  // namespace artgen
