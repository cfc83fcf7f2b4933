// GearFlap_Placard: the painted speed limits for the undercarriage and the
// landing flaps. One picture; its click area has neither event nor function.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

ELEMENT_STATIC_IMAGE placard = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_PLACARD, .position = {0, 0},
               .offset = {0, 0}, .gauge = &gearflap_placard_header, .children = nullptr,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&placard.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(0),
    {.row_type = MOUSE_CHILD, .box = {10, 10, 180, 180}, .cursor = CURSOR_NORMAL, .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE, .event = 0, .function = nullptr},
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR gearflap_placard_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "GearFlap_Placard",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 60,
    .mouse_table = mouse_table,
};
