// AutoSlat_Control: an invisible gauge whose icon callback sends the low- or
// high-speed slat key event on every evaluation, by airspeed against 97.19 kt.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_AIRSPEED_KNOTS = 61;
constexpr double SLAT_THRESHOLD_KNOTS = 97.19;  // 179.996 km/h
constexpr uint32_t KEY_SLATS_DEPLOY = 0x10210;  // low speed, parameter 1
constexpr uint32_t KEY_SLATS_RETRACT = 0x10211; // high speed, parameter 0

ELEMENT_ICON slat_icon = {
    .header = {.kind = ELEMENT_KIND_ICON, .bitmap = BMP_AUTOSLAT_ICON, .position = {0, 0},
               .offset = {0, 0}, .gauge = &autoslat_control_header, .children = nullptr,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source = {.token = TOKEN_AIRSPEED_KNOTS},
    .icon_mode = 3,
    .scale = 0.0,
    .offset = 0,
    .picture_count = 2,
    .callback = autoslat_icon_cb,
};
ELEMENT_HEADER* background_children[] = {&slat_icon.header, nullptr};

ELEMENT_STATIC_IMAGE background = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_AUTOSLAT_BACKGROUND,
               .position = {0, 0}, .offset = {0, 0}, .gauge = &autoslat_control_header,
               .children = background_children, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&background.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(0),
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR autoslat_control_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "AutoSlat_Control",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 10,
    .mouse_table = mouse_table,
};

// Sends one slat event per call, with no memory of the last one: at or below
// the threshold (and for not-a-number) the low-speed event, above it the
// high-speed one.
double GAUGE_CALL autoslat_icon_cb(ELEMENT_HEADER* element) {
    const double knots = reinterpret_cast<ELEMENT_ICON*>(element)->source.value;
    if (knots > SLAT_THRESHOLD_KNOTS) {
        trigger_key_event(KEY_SLATS_RETRACT, 0);
        return 0.0;
    }
    trigger_key_event(KEY_SLATS_DEPLOY, 1);
    return 1.0;
}
