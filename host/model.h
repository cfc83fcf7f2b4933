// The host's own picture of the module, learnt from Linkage alone through a
// backend: gauges, their elements in drawing order, needle tables, failure
// lists and mouse rows. Plain data; nothing here knows a record type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/backend.h"

namespace zephel {

enum class ElementKind : uint32_t {
    StaticImage = 0,
    Needle = 1,
    Slider = 3,
    Icon = 4,
    MovingImage = 5,
    Sprite = 6,
};
const char* kind_name(ElementKind kind);

// Draw flags and mouse flags, as the records carry them.
constexpr uint32_t kDrawTransparency = 0x01;  // pure black is not drawn
constexpr uint32_t kDrawErase = 0x02;
constexpr uint32_t kDrawBilinear = 0x80;      // smooth colours when turning or scaling
constexpr uint32_t kMouseLeftSingle = 0x20000000;
constexpr uint32_t kMouseDownRepeat = 0x00200000;
constexpr uint32_t kMouseRightSingle = 0x80000000;

constexpr uint32_t kRowEnd = 0, kRowParent = 1, kRowChild = 2, kRowParentEnd = 3;

// A token binding embedded in an element: where it lies (its current value
// is written there) and the token it names (0 = none).
struct Binding {
    Address address = 0;
    uint32_t token = 0;
    bool bound() const { return token != 0; }
};

struct NonlinearityEntry {
    int32_t x = 0, y = 0;  // a point on the background
    double value = 0.0;
};

struct FailureEntry {
    uint32_t key = 0;
    uint32_t action = 0;  // 0: no effect; 1: the element freezes at its last state
};

struct MouseRow {
    uint32_t type = 0;  // kRowParent, kRowChild, kRowParentEnd, kRowEnd
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t cursor = 0;
    uint32_t help_id = 0;
    uint32_t flags = 0;
    uint32_t event = 0;
    Address function = 0;  // 0 = none
    // The box covers columns x..x+width-1 and rows y..y+height-1.
    bool contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && int64_t{px} < int64_t{x} + width && int64_t{py} < int64_t{y} + height;
    }
};

struct Element {
    Address address = 0;
    ElementKind kind = ElementKind::StaticImage;
    uint32_t bitmap = 0;
    int32_t position_x = 0, position_y = 0;
    int32_t offset_x = 0, offset_y = 0;
    uint32_t draw_flags = 0;
    Address failure_list = 0;  // 0 = none; several elements may share one
    std::vector<FailureEntry> failures;

    // Needle: source; slider, moving image, sprite: x, y (and rotation);
    // icon: source. Unused bindings stay unbound.
    Binding source, source_x, source_y, source_rotation;
    // Value callbacks (0 = none): icon uses callback, moving image
    // callback_x/_y, sprite callback_x/_y/_rotation.
    Address callback = 0, callback_x = 0, callback_y = 0, callback_rotation = 0;

    // Needle.
    std::vector<NonlinearityEntry> table;
    int32_t turn_limit = 0;  // degrees per tick at most; 0 = no limit
    // Slider and sprite scales (sprite rotation scale too).
    double scale_x = 0.0, scale_y = 0.0, scale_rotation = 0.0;
    // Sprite: texture pixels per background pixel.
    float texture_scale_x = 1.0f, texture_scale_y = 1.0f;
    // Icon.
    int32_t icon_mode = 0, picture_count = 0, icon_offset = 0;
    double icon_scale = 0.0;
    // Moving image.
    double min_x = 0.0, max_x = 0.0, min_y = 0.0, max_y = 0.0;

    bool bilinear() const { return (draw_flags & kDrawBilinear) != 0; }
    bool transparent() const { return (draw_flags & kDrawTransparency) != 0; }
    // The window mask of a moving image or sprite lies at bitmap ID+1.
    uint32_t mask_bitmap() const { return bitmap + 1; }
};

struct Gauge {
    Address header = 0;
    int index = 0;  // position in Linkage's gauge table
    uint32_t version = 0;
    std::string name;
    uint32_t default_size_mm = 0;
    uint32_t help_id = 0;              // of the mouse table's parent row
    std::vector<Element> elements;     // drawing order: root first, each child after its parent
    std::vector<MouseRow> mouse_rows;  // every row up to and including the end row
    Address routines[7] = {};          // query, install, initialize, update, generate, draw, kill

    // Child rows only.
    std::vector<const MouseRow*> child_rows() const;
    // Token numbers read, in first-use order; failure keys bound.
    std::vector<uint32_t> tokens() const;
    std::vector<uint32_t> failure_keys() const;
};

struct Module {
    uint32_t module_id = 0;
    Address module_init = 0, module_deinit = 0;
    std::vector<Gauge> gauges;

    // nullptr when no gauge has that name.
    const Gauge* find(std::string_view name) const;
    // Throws HostError naming the valid gauges.
    const Gauge& gauge(std::string_view name) const;
};

// Walks Linkage through the backend. Throws HostError on data that no sane
// module holds (unknown element kind, endless lists, absurd counts).
Module read_module(const Backend& backend);

}  // namespace zephel
