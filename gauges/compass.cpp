// Compass: the course compass. Two strips slide behind a window under a fixed
// lubber line, the heading strip above and the set-course strip below; the
// frame covers them except at the window; a slip ball swings in the tube
// below. The course knob steps the set course down (left half) or up (right
// half), repeating while the button is held.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_SLIP_BALL = 69;     // -127 to +127, 0 centred
constexpr uint32_t TOKEN_HEADING = 84;       // degrees
constexpr uint32_t TOKEN_SET_COURSE = 107;   // degrees
constexpr uint32_t KEY_COURSE_DOWN = 0x10158;
constexpr uint32_t KEY_COURSE_UP = 0x10157;
constexpr uint32_t FAILURE_KEY_COMPASS = 12;
constexpr uint32_t KNOB_MOUSE_FLAGS = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
constexpr double FULL_TURN = 360.0;

// Both strips fail with the magnetic compass; nothing else on the gauge does.
FAILURE_RECORD strip_failures[] = {
    {.key = FAILURE_KEY_COMPASS, .action = 1},
    {.key = 0, .action = 0},
};

// Clockwise about the pivot (152, 3); values fall from +127 to -127. The
// right-hand stop lies 74 pixels right of the pivot's column, the left-hand
// one 67 pixels left of it, so the ball swings less far to the left.
NONLINEARITY slip_table[] = {
    {.point = {226, 243}, .value = 127.0},
    {.point = {226, 243}, .value = 126.0},
    {.point = {152, 250}, .value = 0.0},
    {.point = {85, 243}, .value = -126.0},
    {.point = {85, 243}, .value = -127.0},
};

ELEMENT_NEEDLE slip_needle = {
    .header = {.kind = ELEMENT_KIND_NEEDLE, .bitmap = BMP_COMPASS_SLIP_NEEDLE, .position = {152, 3},
               .offset = {0, 16}, .gauge = &compass_header, .children = nullptr, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR},
    .source = {.token = TOKEN_SLIP_BALL},
    .nonlinearity = slip_table,
    .entry_count = sizeof slip_table / sizeof slip_table[0],
    .turn_limit = 6,
};
ELEMENT_HEADER* frame_children[] = {&slip_needle.header, nullptr};

ELEMENT_STATIC_IMAGE frame = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_COMPASS_FRAME, .position = {0, 0},
               .offset = {0, 0}, .gauge = &compass_header, .children = frame_children,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* course_strip_children[] = {&frame.header, nullptr};

ELEMENT_MOVING_IMAGE course_strip = {
    .header = {.kind = ELEMENT_KIND_MOVING_IMAGE, .bitmap = BMP_COMPASS_COURSE_STRIP,
               .position = {76, 140}, .offset = {0, 0}, .gauge = &compass_header,
               .children = course_strip_children, .failures = strip_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_x = {.token = TOKEN_SET_COURSE},
    .min_x = 0.0,
    .max_x = FULL_TURN,
    .source_y = {.token = 0},
    .min_y = 0.0,
    .max_y = 0.0,
    .callback_x = compass_strip_cb,
    .callback_y = nullptr,
};
ELEMENT_HEADER* heading_strip_children[] = {&course_strip.header, nullptr};

ELEMENT_MOVING_IMAGE heading_strip = {
    .header = {.kind = ELEMENT_KIND_MOVING_IMAGE, .bitmap = BMP_COMPASS_HEADING_STRIP,
               .position = {76, 90}, .offset = {0, 0}, .gauge = &compass_header,
               .children = heading_strip_children, .failures = strip_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_x = {.token = TOKEN_HEADING},
    .min_x = 0.0,
    .max_x = FULL_TURN,
    .source_y = {.token = 0},
    .min_y = 0.0,
    .max_y = 0.0,
    .callback_x = compass_strip_cb,
    .callback_y = nullptr,
};
ELEMENT_HEADER* face_children[] = {&heading_strip.header, nullptr};

ELEMENT_STATIC_IMAGE face = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_COMPASS_FACE, .position = {0, 0},
               .offset = {0, 0}, .gauge = &compass_header, .children = face_children,
               .failures = nullptr, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&face.header, nullptr};

// The course knob's two halves: columns 22 to 47 and 49 to 74, rows 256 to
// 315; column 48 between them belongs to neither.
MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43828),
    {.row_type = MOUSE_CHILD, .box = {22, 256, 26, 60}, .cursor = CURSOR_DOWNARROW, .help_id = 0,
     .mouse_flags = KNOB_MOUSE_FLAGS, .event = 0, .function = course_knob_left},
    {.row_type = MOUSE_CHILD, .box = {49, 256, 26, 60}, .cursor = CURSOR_UPARROW, .help_id = 0,
     .mouse_flags = KNOB_MOUSE_FLAGS, .event = 0, .function = course_knob_right},
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR compass_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Compass",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 70,
    .mouse_table = mouse_table,
};

// The strips are printed with headings falling to the right, so the value the
// window slides by is 360 - v. Anything outside a single turn, an infinity or
// not-a-number shows the left-hand north (0.0).
double GAUGE_CALL compass_strip_cb(ELEMENT_HEADER* element) {
    const double v = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(element)->source_x.value;
    // Rounded to double before the comparisons, so the 32-bit build (x87,
    // extended range) decides and returns exactly what a double gives.
    volatile double reversed = FULL_TURN - v;
    const double r = reversed;
    if (!(r >= 0.0)) return 0.0;  // below zero, or not a number
    if (r > FULL_TURN) return 0.0;
    return r;
}

int32_t GAUGE_CALL course_knob_left(PIXPOINT*, uint32_t) {
    trigger_key_event(KEY_COURSE_DOWN, 0);
    return 1;
}

int32_t GAUGE_CALL course_knob_right(PIXPOINT*, uint32_t) {
    trigger_key_event(KEY_COURSE_UP, 0);
    return 1;
}
