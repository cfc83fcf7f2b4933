// Pictures of the artificial horizon: the face with its window, the horizon
// card and bank index that turn behind it, their window masks and the slip
// ball needle.
//
// The window is defined once, row by row, and used by the face (where it is
// cleared to pure black) and by both masks (where it is set), so face and
// masks agree to the pixel.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;

namespace {

constexpr int FACE_SIZE = 333;
constexpr double CENTRE = 167.0;  // where both textures are centred and turn

// Window: rows 59 to 239. Rows 154 to 170 are the widest, columns 92 to 250.
// Above them a domed top, below a rounded bottom, each made of two quarter
// ellipses that meet the 9-pixel-wide top row (columns 162 to 170) and the
// equally narrow bottom row.
constexpr int WINDOW_TOP = 59, WINDOW_BOTTOM = 239;
constexpr int WIDE_TOP = 154, WIDE_BOTTOM = 170;
constexpr int WINDOW_LEFT = 92, WINDOW_RIGHT = 250;
constexpr int NARROW_LEFT = 162, NARROW_RIGHT = 170;

struct Span {
    int left, right;  // inclusive; left > right for an empty row
};

Span window_span(int row) {
    if (row < WINDOW_TOP || row > WINDOW_BOTTOM) return {1, 0};
    double reach = 1.0;  // fraction of the full half-width on each side
    if (row < WIDE_TOP) {
        const double t = double(WIDE_TOP - row) / (WIDE_TOP - WINDOW_TOP);
        reach = std::sqrt(std::max(0.0, 1.0 - t * t));
    } else if (row > WIDE_BOTTOM) {
        const double t = double(row - WIDE_BOTTOM) / (WINDOW_BOTTOM - WIDE_BOTTOM);
        reach = std::sqrt(std::max(0.0, 1.0 - t * t));
    }
    // Rounded down so that only the wide rows reach the full width.
    const int left = NARROW_LEFT - int(std::floor((NARROW_LEFT - WINDOW_LEFT) * reach));
    const int right = NARROW_RIGHT + int(std::floor((WINDOW_RIGHT - NARROW_RIGHT) * reach));
    return {left, right};
}

// The window outline along pixel edges, as a closed path.
void window_path(cairo_t* cr) {
    cairo_new_path(cr);
    for (int row = WINDOW_TOP; row <= WINDOW_BOTTOM; ++row) {
        const Span s = window_span(row);
        cairo_line_to(cr, s.left, row);
        cairo_line_to(cr, s.left, row + 1);
    }
    for (int row = WINDOW_BOTTOM; row >= WINDOW_TOP; --row) {
        const Span s = window_span(row);
        cairo_line_to(cr, s.right + 1, row + 1);
        cairo_line_to(cr, s.right + 1, row);
    }
    cairo_close_path(cr);
}

// Sets every window pixel of the surface to `argb` (premultiplied), exactly.
void paint_window_pixels(cairo_t* cr, uint32_t argb) {
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int row = WINDOW_TOP; row <= WINDOW_BOTTOM; ++row) {
        auto* px = reinterpret_cast<uint32_t*>(data + row * stride);
        const Span s = window_span(row);
        for (int x = s.left; x <= s.right; ++x) px[x] = argb;
    }
    cairo_surface_mark_dirty(surface);
}

void fill_rect(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
}

// Cream marking with a darker lower edge, over columns [x0, x1] and rows
// [y0, y1] inclusive.
void cream_bar(cairo_t* cr, int x0, int y0, int x1, int y1) {
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, y0, 0, y1 + 1);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.98, 0.95, 0.84);
    cairo_pattern_add_color_stop_rgb(shade, 0.5, artgen::CREAM.r, artgen::CREAM.g, artgen::CREAM.b);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.78, 0.74, 0.62);
    cairo_set_source(cr, shade);
    fill_rect(cr, x0, y0, x1 + 1, y1 + 1);
    cairo_pattern_destroy(shade);
}

// --- The face ---------------------------------------------------------------

constexpr double FACE_RADIUS = 134;    // painted dial inside the bezel
constexpr double BEZEL_RADIUS = 160;
constexpr double CASE_CORNER = 34;

// Slip tube: its top edge an arc through (94, 240), (168, 246), (242, 240),
// 24 rows deep, with round ends at columns 94 and 242.
constexpr double TUBE_MIDDLE_X = 168, TUBE_TOP_MIDDLE = 246, TUBE_SAG = 8, TUBE_HALF_SPAN = 74;
constexpr double TUBE_DEPTH = 24;
constexpr double TUBE_TOP_RADIUS = (TUBE_HALF_SPAN * TUBE_HALF_SPAN + TUBE_SAG * TUBE_SAG) / (2 * TUBE_SAG);
constexpr double TUBE_ARC_Y = TUBE_TOP_MIDDLE - TUBE_TOP_RADIUS;  // centre of the tube's arcs

void draw_case(cairo_t* cr) {
    // Square case with rounded corners; outside them stays transparent.
    const double s = FACE_SIZE, r = CASE_CORNER;
    cairo_new_path(cr);
    cairo_arc(cr, r, r, r, M_PI, 1.5 * M_PI);
    cairo_arc(cr, s - r, r, r, 1.5 * M_PI, 2 * M_PI);
    cairo_arc(cr, s - r, s - r, r, 0, 0.5 * M_PI);
    cairo_arc(cr, r, s - r, r, 0.5 * M_PI, M_PI);
    cairo_close_path(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, s, s);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.27, 0.27, 0.26);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.12, 0.12, 0.12);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.34);
    cairo_stroke(cr);

    const double inset = 22;
    artgen::draw_screw(cr, inset, inset, 9, 0.6);
    artgen::draw_screw(cr, s - inset, inset, 9, 2.1);
    artgen::draw_screw(cr, inset, s - inset, 9, 1.2);
    artgen::draw_screw(cr, s - inset, s - inset, 9, 0.2);
}

void draw_bezel_and_dial(cairo_t* cr) {
    const double c = FACE_SIZE / 2.0;
    // Bezel: a turned ring, lit from the top left.
    cairo_pattern_t* ring = cairo_pattern_create_linear(c - BEZEL_RADIUS, c - BEZEL_RADIUS,
                                                        c + BEZEL_RADIUS, c + BEZEL_RADIUS);
    cairo_pattern_add_color_stop_rgb(ring, 0.0, 0.52, 0.51, 0.49);
    cairo_pattern_add_color_stop_rgb(ring, 0.5, 0.22, 0.22, 0.22);
    cairo_pattern_add_color_stop_rgb(ring, 1.0, 0.10, 0.10, 0.10);
    cairo_arc(cr, c, c, BEZEL_RADIUS, 0, 2 * M_PI);
    cairo_set_source(cr, ring);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    // Inner lip, shaded the other way so the dial sits recessed.
    cairo_pattern_t* lip = cairo_pattern_create_linear(c - FACE_RADIUS, c - FACE_RADIUS,
                                                       c + FACE_RADIUS, c + FACE_RADIUS);
    cairo_pattern_add_color_stop_rgb(lip, 0.0, 0.08, 0.08, 0.08);
    cairo_pattern_add_color_stop_rgb(lip, 1.0, 0.40, 0.40, 0.39);
    cairo_arc(cr, c, c, FACE_RADIUS + 5, 0, 2 * M_PI);
    cairo_set_source(cr, lip);
    cairo_fill(cr);
    cairo_pattern_destroy(lip);
    // Matt black dial paint, a touch lighter towards the top.
    cairo_pattern_t* dial = cairo_pattern_create_radial(c - 30, c - 50, 10, c, c, FACE_RADIUS);
    cairo_pattern_add_color_stop_rgb(dial, 0.0, 0.15, 0.15, 0.15);
    cairo_pattern_add_color_stop_rgb(dial, 1.0, 0.07, 0.07, 0.075);
    cairo_arc(cr, c, c, FACE_RADIUS, 0, 2 * M_PI);
    cairo_set_source(cr, dial);
    cairo_fill(cr);
    cairo_pattern_destroy(dial);
}

void draw_window_frame(cairo_t* cr) {
    // A raised rim around the window; its inner half is cleared with the window.
    window_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 7);
    cairo_set_source_rgb(cr, 0.20, 0.20, 0.20);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 3);
    cairo_set_source_rgb(cr, 0.42, 0.42, 0.41);
    cairo_stroke(cr);
}

void draw_reference_bars(cairo_t* cr) {
    // Level with the miniature aircraft's wing, flanking the window.
    cream_bar(cr, 62, 157, 91, 168);
    cream_bar(cr, 251, 157, 277, 168);
}

void draw_bank_mark(cairo_t* cr) {
    // Fixed triangle over the window's top, pointing down at the bank index.
    cairo_new_path(cr);
    cairo_move_to(cr, 162, 47);
    cairo_line_to(cr, 176, 47);
    cairo_line_to(cr, 171, 58);
    cairo_line_to(cr, 167, 58);
    cairo_close_path(cr);
    artgen::set_colour(cr, artgen::CREAM);
    cairo_fill(cr);
}

void tube_outline(cairo_t* cr, double inset) {
    // The tube as a thick arc with round ends, shrunk by `inset` all round.
    const double mid_radius = TUBE_TOP_RADIUS + TUBE_DEPTH / 2;
    const double end_radius = TUBE_DEPTH / 2;
    const double half_angle = std::asin((TUBE_HALF_SPAN + 0.5 - end_radius) / mid_radius);
    cairo_new_path(cr);
    cairo_arc(cr, TUBE_MIDDLE_X + 0.5, TUBE_ARC_Y, TUBE_TOP_RADIUS + inset, M_PI / 2 - half_angle,
              M_PI / 2 + half_angle);
    const double lx = TUBE_MIDDLE_X + 0.5 - mid_radius * std::sin(half_angle);
    const double ly = TUBE_ARC_Y + mid_radius * std::cos(half_angle);
    cairo_arc_negative(cr, lx, ly, end_radius - inset, -M_PI / 2 + half_angle, M_PI / 2 + half_angle);
    cairo_arc_negative(cr, TUBE_MIDDLE_X + 0.5, TUBE_ARC_Y, TUBE_TOP_RADIUS + TUBE_DEPTH - inset,
                       M_PI / 2 + half_angle, M_PI / 2 - half_angle);
    const double rx = TUBE_MIDDLE_X + 0.5 + mid_radius * std::sin(half_angle);
    cairo_arc_negative(cr, rx, ly, end_radius - inset, M_PI / 2 - half_angle, -M_PI / 2 - half_angle);
    cairo_close_path(cr);
}

void draw_slip_tube(cairo_t* cr) {
    // Cream glass tube with a darker rim and a highlight along its top.
    tube_outline(cr, 0);
    cairo_set_source_rgb(cr, 0.55, 0.52, 0.44);
    cairo_fill(cr);
    tube_outline(cr, 1.5);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, TUBE_TOP_MIDDLE - 6, 0, TUBE_TOP_MIDDLE + TUBE_DEPTH);
    cairo_pattern_add_color_stop_rgb(glass, 0.0, 0.98, 0.96, 0.88);
    cairo_pattern_add_color_stop_rgb(glass, 0.35, artgen::CREAM.r, artgen::CREAM.g, artgen::CREAM.b);
    cairo_pattern_add_color_stop_rgb(glass, 1.0, 0.74, 0.70, 0.58);
    cairo_set_source(cr, glass);
    cairo_fill(cr);
    cairo_pattern_destroy(glass);
    // Two thin centre lines marking the ball's place at zero slip.
    cairo_set_source_rgb(cr, 0.25, 0.24, 0.22);
    fill_rect(cr, 154, 244, 155, 272);
    fill_rect(cr, 182, 244, 183, 272);
    // Small triangle under the middle of the tube.
    cairo_new_path(cr);
    cairo_move_to(cr, TUBE_MIDDLE_X + 0.5 - 5, TUBE_TOP_MIDDLE + TUBE_DEPTH + 3);
    cairo_line_to(cr, TUBE_MIDDLE_X + 0.5 + 5, TUBE_TOP_MIDDLE + TUBE_DEPTH + 3);
    cairo_line_to(cr, TUBE_MIDDLE_X + 0.5, TUBE_TOP_MIDDLE + TUBE_DEPTH + 10);
    cairo_close_path(cr);
    artgen::set_colour(cr, artgen::CREAM);
    cairo_fill(cr);
}

void draw_legend(cairo_t* cr) {
    artgen::set_colour(cr, artgen::CREAM);
    artgen::text_centred(cr, "Horizont", TUBE_MIDDLE_X + 0.5, 290, 10, true);
}

// Fixed miniature aircraft, painted on the face in the middle of the window:
// columns 121 to 217, rows 156 to 170, its wing bar on rows 162 to 165.
void draw_miniature_aircraft(cairo_t* cr) {
    const double cx = 169.5;
    const artgen::Colour paint{0.97, 0.80, 0.36};
    // Wings.
    artgen::set_colour(cr, paint);
    fill_rect(cr, 121, 162, 218, 166);
    // Fuselage seen from behind, with the fin standing up from it.
    cairo_arc(cr, cx, 164, 6, 0, 2 * M_PI);
    cairo_fill(cr);
    fill_rect(cr, cx - 1.5, 156, cx + 1.5, 164);
    fill_rect(cr, cx - 2, 165, cx + 2, 171);
    // A dark dot in the middle for the eye to aim with.
    cairo_arc(cr, cx, 164, 2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.20, 0.16, 0.10);
    cairo_fill(cr);
}

}  // namespace

ARTWORK(horizon_face, BMP_HORIZON_FACE, 333, 333, ArtKind::picture) {
    draw_case(cr);
    draw_bezel_and_dial(cr);
    draw_window_frame(cr);
    draw_reference_bars(cr);
    draw_bank_mark(cr);
    draw_slip_tube(cr);
    draw_legend(cr);
    paint_window_pixels(cr, 0x00000000);  // the window: pure black, transparent
    draw_miniature_aircraft(cr);
}

// Horizon card: a shaded grey disc over the whole texture with a cream
// horizon bar across it. Drawn at 4/3 about gauge point (167, 167), the bar
// lands on gauge rows 158 to 168 at rest.
ARTWORK(horizon_card, BMP_HORIZON_CARD, 260, 260, ArtKind::picture) {
    const double cx = 131.5, cy = 131.5, r = 127.5;  // columns and rows 4 to 258
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* disc = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    cairo_pattern_add_color_stop_rgb(disc, 0.0, 0.46, 0.47, 0.49);  // sky side, lighter
    cairo_pattern_add_color_stop_rgb(disc, 0.49, 0.33, 0.34, 0.35);
    cairo_pattern_add_color_stop_rgb(disc, 0.51, 0.25, 0.24, 0.23);  // ground side, darker
    cairo_pattern_add_color_stop_rgb(disc, 1.0, 0.15, 0.15, 0.14);
    cairo_set_source(cr, disc);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(disc);
    // A gentle vignette so the card reads as a drum behind glass.
    cairo_pattern_t* vignette = cairo_pattern_create_radial(cx, cy, r * 0.55, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(vignette, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(vignette, 1.0, 0, 0, 0, 0.35);
    cairo_set_source(cr, vignette);
    cairo_fill(cr);
    cairo_pattern_destroy(vignette);
    cream_bar(cr, 30, 123, 240, 130);
}

// Bank index: a cream bar on the texture's vertical centre line, reaching in
// from the top edge; only its inner end shows, in the window's domed top.
ARTWORK(horizon_bank_index, BMP_HORIZON_INDEX, 260, 260, ArtKind::picture) {
    cairo_pattern_t* shade = cairo_pattern_create_linear(126, 0, 135, 0);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.80, 0.76, 0.64);
    cairo_pattern_add_color_stop_rgb(shade, 0.4, 0.98, 0.95, 0.84);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.80, 0.76, 0.64);
    cairo_set_source(cr, shade);
    fill_rect(cr, 126, 0, 135, 57);
    cairo_pattern_destroy(shade);
}

// The masks of both sprites: exactly the face's window.
ARTWORK(horizon_card_mask, BMP_HORIZON_CARD_MASK, 333, 333, ArtKind::mask) {
    paint_window_pixels(cr, 0xFFFFFFFF);
}
ARTWORK(horizon_index_mask, BMP_HORIZON_INDEX_MASK, 333, 333, ArtKind::mask) {
    paint_window_pixels(cr, 0xFFFFFFFF);
}

// Slip needle: an invisible rod from the pivot at (0, 16) to a shaded ball
// 26 pixels across whose centre lies about 253 pixels out.
ARTWORK(horizon_slip_needle, BMP_HORIZON_SLIP_NEEDLE, 270, 32, ArtKind::picture) {
    const double cx = 254, cy = 16, r = 13;  // columns 241 to 266, rows 3 to 28
    cairo_pattern_t* ball = cairo_pattern_create_radial(cx - 4, cy - 5, 1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(ball, 0.0, 0.62, 0.62, 0.64);
    cairo_pattern_add_color_stop_rgb(ball, 0.35, 0.24, 0.24, 0.26);
    cairo_pattern_add_color_stop_rgb(ball, 1.0, 0.06, 0.06, 0.07);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, ball);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
}
