// Flap_Lever: the Ein/Aus push-button pair as two sliders that follow the flap
// position in opposite directions; the upper and lower click areas send the
// two flap key events.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_FLAP_POSITION = 329;
constexpr double PIXELS_PER_UNIT = 0.0025;  // one pixel for every 400 units
constexpr uint32_t KEY_FLAPS_RETRACT_NOTCH = 0x100DF;  // Ein
constexpr uint32_t KEY_FLAPS_EXTEND_NOTCH = 0x100DE;   // Aus
constexpr uint32_t SLIDER_FLAGS = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR;

// Drawn last, so it lies over the Aus button where the two meet.
ELEMENT_SLIDER ein_button = {
    .header = {.kind = ELEMENT_KIND_SLIDER, .bitmap = BMP_FLAP_EIN, .position = {44, 10},
               .offset = {0, 0}, .gauge = &flap_lever_header, .children = nullptr,
               .failures = nullptr, .draw_flags = SLIDER_FLAGS},
    .source_x = {.token = TOKEN_FLAP_POSITION},
    .scale_x = -PIXELS_PER_UNIT,
    .source_y = {.token = 0},
    .scale_y = 0.0,
};
ELEMENT_HEADER* aus_children[] = {&ein_button.header, nullptr};

ELEMENT_SLIDER aus_button = {
    .header = {.kind = ELEMENT_KIND_SLIDER, .bitmap = BMP_FLAP_AUS, .position = {4, 90},
               .offset = {0, 0}, .gauge = &flap_lever_header, .children = aus_children,
               .failures = nullptr, .draw_flags = SLIDER_FLAGS},
    .source_x = {.token = TOKEN_FLAP_POSITION},
    .scale_x = PIXELS_PER_UNIT,
    .source_y = {.token = 0},
    .scale_y = 0.0,
};
ELEMENT_HEADER* background_children[] = {&aus_button.header, nullptr};

ELEMENT_STATIC_IMAGE background = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_FLAP_BACKGROUND,
               .position = {0, 0}, .offset = {0, 0}, .gauge = &flap_lever_header,
               .children = background_children, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&background.header, nullptr};

// Fixed areas that do not follow the buttons; they meet at y 100.
MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43067),
    {.row_type = MOUSE_CHILD, .box = {10, 10, 180, 90}, .cursor = CURSOR_HAND, .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE, .event = 0, .function = flap_upper_click},
    {.row_type = MOUSE_CHILD, .box = {10, 100, 180, 90}, .cursor = CURSOR_HAND, .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE, .event = 0, .function = flap_lower_click},
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR flap_lever_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Flap_Lever",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 60,
    .mouse_table = mouse_table,
};

int32_t GAUGE_CALL flap_upper_click(PIXPOINT*, uint32_t) {
    trigger_key_event(KEY_FLAPS_RETRACT_NOTCH, 0);
    return 1;
}

int32_t GAUGE_CALL flap_lower_click(PIXPOINT*, uint32_t) {
    trigger_key_event(KEY_FLAPS_EXTEND_NOTCH, 0);
    return 1;
}
