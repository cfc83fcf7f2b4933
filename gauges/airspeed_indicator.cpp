// Airspeed_Indicator: one needle over a km/h dial. The simulator supplies
// knots; the needle's table alone converts, by putting 54 kt on the 100 km/h
// mark and 405 kt on the 750 km/h line (1 kt = 1.852 km/h, so the one long
// segment between them keeps the km/h scale linear).
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_AIRSPEED_KNOTS = 61;
constexpr uint32_t FAILURE_KEY_GAUGES = 20;
constexpr uint32_t FAILURE_KEY_AIRSPEED = 6;

// Shared by the dial and the needle.
FAILURE_RECORD airspeed_failures[] = {
    {.key = FAILURE_KEY_GAUGES, .action = 0},
    {.key = FAILURE_KEY_AIRSPEED, .action = 1},
    {.key = 0, .action = 0},
};

// Directions seen from the pivot (150, 150), clockwise from straight up.
NONLINEARITY airspeed_table[] = {
    {.point = {153, 254}, .value = 0.0},    // 178.35°, rest bar (stop)
    {.point = {153, 254}, .value = 1.0},    // 178.35°, rest bar
    {.point = {130, 252}, .value = 54.0},   // 191.09°, 100 km/h
    {.point = {188, 245}, .value = 405.0},  // 158.20°, 750 km/h, after 327.10° clockwise
    {.point = {188, 245}, .value = 406.0},  // 158.20°, 750 km/h (stop)
};

ELEMENT_NEEDLE needle = {
    .header = {.kind = ELEMENT_KIND_NEEDLE, .bitmap = BMP_AIRSPEED_NEEDLE, .position = {150, 150},
               .offset = {15, 14}, .gauge = &airspeed_indicator_header, .children = nullptr,
               .failures = airspeed_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR},
    .source = {.token = TOKEN_AIRSPEED_KNOTS},
    .nonlinearity = airspeed_table,
    .entry_count = sizeof airspeed_table / sizeof airspeed_table[0],
    .turn_limit = 6,
};
ELEMENT_HEADER* dial_children[] = {&needle.header, nullptr};

ELEMENT_STATIC_IMAGE dial = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_AIRSPEED_DIAL, .position = {0, 0},
               .offset = {0, 0}, .gauge = &airspeed_indicator_header, .children = dial_children,
               .failures = airspeed_failures, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&dial.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43068),
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR airspeed_indicator_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Airspeed_Indicator",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 80,
    .mouse_table = mouse_table,
};
