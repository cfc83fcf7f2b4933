// Artificial_Horizon: a horizon card that moves with pitch and turns with bank
// behind the face's window, a bank index turning with it, and a slip ball on
// a pendulum needle below the window. The face is drawn twice: first as the
// background, then again over the two sprites so that only its window shows
// them.
#include "frame/module.h"
#include "gauges/bitmap_ids.h"
#include "gauges/gauges.h"

namespace {

constexpr uint32_t TOKEN_SLIP_BALL = 69;  // -127 to +127, 0 centred
constexpr uint32_t TOKEN_PITCH = 78;
constexpr uint32_t TOKEN_BANK = 80;
constexpr uint32_t FAILURE_KEY_ATTITUDE = 8;

constexpr double PITCH_LIMIT = 43.0;     // card offset 2.0 x 43 = 86 pixels at most
constexpr double PITCH_SCALE = 2.0;      // pixels of card offset per unit of pitch
constexpr double BANK_SCALE = -1.0;      // card and index turn against the bank value
constexpr float TEXTURE_SCALE = 0.75f;   // texture pixels per face pixel: drawn at 4/3
constexpr PIXPOINT TEXTURE_CENTRE = {167, 167};

// One list for the face beneath, the card, the index and the slip needle.
FAILURE_RECORD attitude_failures[] = {
    {.key = FAILURE_KEY_ATTITUDE, .action = 0},
    {.key = 0, .action = 0},
};

// Clockwise about the pivot (168, 3): +127 hangs the ball 14.0 degrees right
// of straight down, -127 14.0 degrees left; the outer entries are stops.
NONLINEARITY slip_table[] = {
    {.point = {230, 252}, .value = 127.0},
    {.point = {230, 252}, .value = 126.0},
    {.point = {168, 258}, .value = 0.0},
    {.point = {106, 252}, .value = -126.0},
    {.point = {106, 252}, .value = -127.0},
};

ELEMENT_NEEDLE slip_needle = {
    .header = {.kind = ELEMENT_KIND_NEEDLE, .bitmap = BMP_HORIZON_SLIP_NEEDLE, .position = {168, 3},
               .offset = {0, 16}, .gauge = &artificial_horizon_header, .children = nullptr,
               .failures = attitude_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR},
    .source = {.token = TOKEN_SLIP_BALL},
    .nonlinearity = slip_table,
    .entry_count = sizeof slip_table / sizeof slip_table[0],
    .turn_limit = 6,
};
ELEMENT_HEADER* face_over_children[] = {&slip_needle.header, nullptr};

// The face again, over the sprites: it has no failures of its own.
ELEMENT_STATIC_IMAGE face_over = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_HORIZON_FACE, .position = {0, 0},
               .offset = {0, 0}, .gauge = &artificial_horizon_header,
               .children = face_over_children, .failures = nullptr,
               .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* bank_index_children[] = {&face_over.header, nullptr};

ELEMENT_SPRITE bank_index = {
    .header = {.kind = ELEMENT_KIND_SPRITE, .bitmap = BMP_HORIZON_INDEX, .position = {0, 0},
               .offset = TEXTURE_CENTRE, .gauge = &artificial_horizon_header,
               .children = bank_index_children, .failures = attitude_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR},
    .source_x = {.token = 0},
    .scale_x = 0.0,
    .source_y = {.token = 0},
    .scale_y = 0.0,
    .source_rotation = {.token = TOKEN_BANK},
    .scale_rotation = BANK_SCALE,
    .texture_scale_x = TEXTURE_SCALE,
    .texture_scale_y = TEXTURE_SCALE,
    .callback_x = nullptr,
    .callback_y = nullptr,
    .callback_rotation = nullptr,
};
ELEMENT_HEADER* card_children[] = {&bank_index.header, nullptr};

ELEMENT_SPRITE horizon_card = {
    .header = {.kind = ELEMENT_KIND_SPRITE, .bitmap = BMP_HORIZON_CARD, .position = {0, 0},
               .offset = TEXTURE_CENTRE, .gauge = &artificial_horizon_header,
               .children = card_children, .failures = attitude_failures,
               .draw_flags = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR},
    .source_x = {.token = 0},
    .scale_x = 0.0,
    .source_y = {.token = TOKEN_PITCH},
    .scale_y = PITCH_SCALE,
    .source_rotation = {.token = TOKEN_BANK},
    .scale_rotation = BANK_SCALE,
    .texture_scale_x = TEXTURE_SCALE,
    .texture_scale_y = TEXTURE_SCALE,
    .callback_x = nullptr,
    .callback_y = pitch_clamp_cb,
    .callback_rotation = nullptr,
};
ELEMENT_HEADER* face_children[] = {&horizon_card.header, nullptr};

ELEMENT_STATIC_IMAGE face = {
    .header = {.kind = ELEMENT_KIND_STATIC_IMAGE, .bitmap = BMP_HORIZON_FACE, .position = {0, 0},
               .offset = {0, 0}, .gauge = &artificial_horizon_header, .children = face_children,
               .failures = attitude_failures, .draw_flags = IMAGE_USE_TRANSPARENCY},
};
ELEMENT_HEADER* elements[] = {&face.header, nullptr};

// No child rows: hovering gives the help text, clicks do nothing.
MOUSERECT mouse_table[] = {
    MOUSE_PARENT_ROW(43061),
    MOUSE_END_OF_PARENT_ROW,
    MOUSE_END_ROW,
};

}  // namespace

GAUGEHDR artificial_horizon_header = {
    .version = GAUGE_HEADER_VERSION_FS700,
    .name = "Artificial_Horizon",
    .elements = elements,
    STANDARD_GAUGE_ROUTINES,
    .default_size_mm = 70,
    .mouse_table = mouse_table,
};

// Limits the pitch to 43 either way. Written so that not-a-number fails both
// comparisons and lands on the lower limit; 0.0 and -0.0 pass through as they
// are, sign included.
double GAUGE_CALL pitch_clamp_cb(ELEMENT_HEADER* element) {
    const double pitch = reinterpret_cast<ELEMENT_SPRITE*>(element)->source_y.value;
    if (pitch > PITCH_LIMIT) return PITCH_LIMIT;
    if (pitch >= -PITCH_LIMIT) return pitch;
    return -PITCH_LIMIT;
}
