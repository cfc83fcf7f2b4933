// UnderCarriage_Lever: the Ein/Aus push-button pair; shows the second picture
// once the undercarriage is fully down, sends the gear toggle on a click.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_GEAR_POSITION = 331;
constexpr double GEAR_FULLY_DOWN = 16383.0;
constexpr uint32_t KEY_GEAR_TOGGLE = 0x10022;
constexpr uint32_t FAILURE_KEY_GEAR = 20;

FAILURE_RECORD button_failures[] = {
    {.key = FAILURE_KEY_GEAR, .action = 0},
    {.key = 0, .action = 0},
};

ELEMENT_ICON buttons = {
    .header = {.kind = ELEMENT_KIND_ICON, .bitmap = BMP_GEAR_ICON, .position = {0, 0},
               .offset = {0, 0}, .gauge = &undercarriage_lever_header, .children = nullptr,
               .failures = button_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source = {.token = TOKEN_GEAR_POSITION},
    .icon_mode = 3,
    .scale = 0.0,
    .offset = 0,
    .picture_count = 2,
    .callback = gear_icon_cb,
};
ELEMENT_HEADER* background_children[] = {&buttons.header, nullptr};

ELEMENT_STATIC_IMAGE background = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_GEAR_BACKGROUND,
               .position = {0, 0}, .offset = {0, 0}, .gauge = &undercarriage_lever_header,
               .children = background_children, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&background.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43824),
    {.row_type = MOUSE_CHILD, .box = {10, 10, 180, 180}, .cursor = CURSOR_HAND, .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE, .event = 0, .function = gear_click},
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR undercarriage_lever_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "UnderCarriage_Lever",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 60,
    .mouse_table = mouse_table,
};

// Second picture only once the gear is fully down; not-a-number shows the first.
double GAUGE_CALL gear_icon_cb(ELEMENT_HEADER* element) {
    const double position = reinterpret_cast<ELEMENT_ICON*>(element)->source.value;
    return position >= GEAR_FULLY_DOWN ? 1.0 : 0.0;
}

int32_t GAUGE_CALL gear_click(PIXPOINT*, uint32_t) {
    trigger_key_event(KEY_GEAR_TOGGLE, 0);
    return 1;
}
