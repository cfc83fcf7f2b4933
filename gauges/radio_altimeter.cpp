// Radio_Altimeter: height above ground, 0 to 750 m, on a needle that sweeps
// clockwise over the top of the dial; a cover with the bezel and the centre
// cap is drawn after the needle and hides its inner end.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_HEIGHT_ABOVE_GROUND = 614;
constexpr uint32_t FAILURE_KEY_GAUGES = 20;
constexpr uint32_t FAILURE_KEY_ALTIMETER = 7;

// Shared by the face and the needle; the cover has none.
FAILURE_RECORD altimeter_failures[] = {
    {.key = FAILURE_KEY_GAUGES, .action = 1},
    {.key = FAILURE_KEY_ALTIMETER, .action = 0},
    {.key = 0, .action = 0},
};

// Directions seen from the pivot (150, 150), clockwise from straight up. The
// low stop sits a tenth of a unit below the 0 entry, the high one a unit above.
NONLINEARITY altimeter_table[] = {
    {.point = {43, 186}, .value = 0.0},     // 251.40°, 0 mark (stop)
    {.point = {43, 186}, .value = 0.1},     // 251.40°, 0 mark
    {.point = {263, 188}, .value = 750.0},  // 108.59°, 750 mark, after 217.18° clockwise
    {.point = {263, 188}, .value = 751.0},  // 108.59°, 750 mark (stop)
};

ELEMENT_STATIC_IMAGE cover = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_RADALT_COVER, .position = {0, 0},
               .offset = {0, 0}, .gauge = &radio_altimeter_header, .children = nullptr,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* needle_children[] = {&cover.header, nullptr};

ELEMENT_NEEDLE needle = {
    .header = {.kind = ELEMENT_KIND_NEEDLE, .bitmap = BMP_RADALT_NEEDLE, .position = {150, 150},
               .offset = {0, 7}, .gauge = &radio_altimeter_header, .children = needle_children,
               .failures = altimeter_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR},
    .source = {.token = TOKEN_HEIGHT_ABOVE_GROUND},
    .nonlinearity = altimeter_table,
    .entry_count = sizeof altimeter_table / sizeof altimeter_table[0],
    .turn_limit = 6,
};
ELEMENT_HEADER* face_children[] = {&needle.header, nullptr};

ELEMENT_STATIC_IMAGE face = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_RADALT_FACE, .position = {0, 0},
               .offset = {0, 0}, .gauge = &radio_altimeter_header, .children = face_children,
               .failures = altimeter_failures, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&face.header, nullptr};

MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43540),
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR radio_altimeter_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Radio_Altimeter",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 70,
    .mouse_table = mouse_table,
};
