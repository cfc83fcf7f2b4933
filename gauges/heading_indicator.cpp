// Heading Indicator: a compass card the size of the gauge, turned as a needle
// behind a fixed aircraft symbol. Its table runs 360, 180, 0 round one full
// clockwise turn, so painted north (the card's +x side) points 360 - H degrees
// clockwise from straight up and the card's mark for H stands at the top. No
// turn limit: the card takes each new heading at once.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_HEADING_DEGREES = 84;
constexpr uint32_t FAILURE_KEY_GAUGES = 20;
constexpr uint32_t FAILURE_KEY_AIRSPEED = 6;  // acts on this card as on the airspeed needle

// Only the card names it.
FAILURE_RECORD heading_failures[] = {
    {.key = FAILURE_KEY_GAUGES, .action = 0},
    {.key = FAILURE_KEY_AIRSPEED, .action = 1},
    {.key = 0, .action = 0},
};

// Directions seen from the pivot (155, 149). Entries 1 and 3 are distinct
// points on the same upward direction; each segment is half a turn clockwise.
NONLINEARITY heading_table[] = {
    {.point = {155, 48}, .value = 360.0},   // 0°, straight up
    {.point = {155, 248}, .value = 180.0},  // 180°, straight down
    {.point = {155, 49}, .value = 0.0},     // 0° again, a full turn on
};

ELEMENT_STATIC_IMAGE cover = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_HEADING_COVER, .position = {0, 0},
               .offset = {0, 0}, .gauge = &heading_indicator_header, .children = nullptr,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* card_children[] = {&cover.header, nullptr};

ELEMENT_NEEDLE card = {
    .header = {.kind = ELEMENT_KIND_NEEDLE, .bitmap = BMP_HEADING_CARD, .position = {155, 149},
               .offset = {155, 149}, .gauge = &heading_indicator_header, .children = card_children,
               .failures = heading_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR},
    .source = {.token = TOKEN_HEADING_DEGREES},
    .nonlinearity = heading_table,
    .entry_count = sizeof heading_table / sizeof heading_table[0],
    .turn_limit = 0,
};
ELEMENT_HEADER* background_children[] = {&card.header, nullptr};

ELEMENT_STATIC_IMAGE background = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_HEADING_BACKGROUND,
               .position = {0, 0}, .offset = {0, 0}, .gauge = &heading_indicator_header,
               .children = background_children, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&background.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43062),
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR heading_indicator_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Heading Indicator",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 70,
    .mouse_table = mouse_table,
};
