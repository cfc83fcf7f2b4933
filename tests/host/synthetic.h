// Small synthetic modules for host tests: records declared with the module's
// own record types, chained into one gauge, with bitmaps made in memory and
// served by a backend that is the native one in every other respect.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "frame/records.h"
#include "host/host.h"
#include "host/native_backend.h"

namespace synthetic {

// An 8-bit BMP file: rgb(x, y) gives 0xRRGGBB per pixel (at most 256 colours).
inline std::vector<uint8_t> bmp(int w, int h, const std::function<uint32_t(int, int)>& rgb) {
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint8_t> index;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = rgb(x, y) & 0xFFFFFF;
            auto it = index.find(c);
            if (it == index.end()) {
                it = index.emplace(c, static_cast<uint8_t>(palette.size())).first;
                palette.push_back(c);
            }
            pixels[static_cast<size_t>(y) * w + x] = it->second;
        }
    const uint32_t stride = (w + 3) & ~3, offset = 14 + 40 + 256 * 4, size = offset + stride * h;
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.push_back('B'), out.push_back('M'), put(size, 4), put(0, 4), put(offset, 4);
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(8, 2), put(0, 4), put(stride * h, 4), put(0, 4), put(0, 4);
    put(256, 4), put(0, 4);
    for (int i = 0; i < 256; ++i) put(i < static_cast<int>(palette.size()) ? palette[i] : 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        out.insert(out.end(), pixels.begin() + static_cast<size_t>(y) * w, pixels.begin() + static_cast<size_t>(y + 1) * w);
        out.insert(out.end(), stride - w, 0);
    }
    return out;
}

inline std::vector<uint8_t> solid(int w, int h, uint32_t rgb) {
    return bmp(w, h, [rgb](int, int) { return rgb; });
}

class Backend : public zephel::NativeBackend {
public:
    Backend(GAUGESLINKAGE* linkage, const std::map<uint32_t, std::vector<uint8_t>>* bitmaps)
        : linkage_(linkage), bitmaps_(bitmaps) {}
    zephel::Address linkage_address() const override { return reinterpret_cast<uintptr_t>(linkage_); }
    std::optional<std::vector<uint8_t>> bitmap(uint32_t id) const override {
        auto it = bitmaps_->find(id);
        if (it == bitmaps_->end()) return std::nullopt;
        return it->second;
    }
    std::string bitmap_name(uint32_t id) const override { return "synthetic bitmap " + std::to_string(id); }

private:
    GAUGESLINKAGE* linkage_;
    const std::map<uint32_t, std::vector<uint8_t>>* bitmaps_;
};

// One gauge named "Test": the given elements chained in drawing order, the
// given child rows framed by parent and end rows.
class Module {
public:
    Module(std::vector<ELEMENT_HEADER*> chain, std::vector<MOUSERECT> child_rows = {}) {
        lists_.resize(chain.size() + 1);
        for (size_t i = 0; i < chain.size(); ++i) {
            lists_[i + 1] = {chain[i], nullptr};
            chain[i]->gauge = &header_;
            chain[i]->children = i + 1 < chain.size() ? lists_[i + 2].data() : nullptr;
        }
        rows_.push_back({.row_type = MOUSE_PARENT_BEGIN, .box = {}, .cursor = -1, .help_id = 7, .mouse_flags = 0,
                         .event = 0, .function = nullptr});
        rows_.insert(rows_.end(), child_rows.begin(), child_rows.end());
        rows_.push_back({.row_type = MOUSE_PARENT_END, .box = {}, .cursor = -1, .help_id = 0, .mouse_flags = 0,
                         .event = 0, .function = nullptr});
        rows_.push_back({.row_type = MOUSE_RECT_EOL, .box = {}, .cursor = -1, .help_id = 0, .mouse_flags = 0,
                         .event = 0, .function = nullptr});
        header_.version = 700;
        header_.name = "Test";
        header_.elements = chain.empty() ? nullptr : lists_[1].data();
        header_.default_size_mm = 50;
        header_.mouse_table = rows_.data();
        linkage_.module_id = 0x13;
        linkage_.gauges[0] = &header_;
    }

    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    std::map<uint32_t, std::vector<uint8_t>> bitmaps;
    GAUGEHDR& header() { return header_; }
    GAUGESLINKAGE& linkage() { return linkage_; }

    // A loaded host over this module.
    zephel::Host& host() {
        if (!host_) {
            backend_ = std::make_unique<Backend>(&linkage_, &bitmaps);
            host_ = std::make_unique<zephel::Host>(*backend_);
        }
        return *host_;
    }
    const zephel::ElementState& state(size_t element) { return host().state("Test", element); }
    zephel::Image render() { return host().render("Test"); }

private:
    std::vector<std::array<ELEMENT_HEADER*, 2>> lists_;
    std::vector<MOUSERECT> rows_;
    GAUGEHDR header_{};
    GAUGESLINKAGE linkage_{};
    std::unique_ptr<Backend> backend_;
    std::unique_ptr<zephel::Host> host_;
};

inline ELEMENT_HEADER header(uint32_t kind, uint32_t bitmap, PIXPOINT position, uint32_t flags,
                             PIXPOINT offset = {0, 0}, FAILURE_RECORD* failures = nullptr) {
    return ELEMENT_HEADER{.kind = kind, .bitmap = bitmap, .position = position, .offset = offset,
                          .gauge = nullptr, .children = nullptr, .failures = failures, .draw_flags = flags};
}

}  // namespace synthetic
