// Pictures of the heading indicator: the background with the aircraft
// symbol, the turning compass card, and the cover whose transparent ring
// shows the card's graduation.
//
// The card is painted with north on the +x side of the pivot, the direction
// the simulator turns towards the table's angle; heading H is painted
// 90 + H degrees clockwise from straight up, so that turning north to
// 360 - H brings H to the top.
#include <cmath>
#include <cstdio>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;
using artgen::Point;

namespace {

constexpr int WIDTH = 309, HEIGHT = 301;
constexpr double CX = 155 + 0.5, CY = 149 + 0.5;  // centre of the pivot pixel (155, 149)

constexpr double DISC_RADIUS = 136;       // the background's disc, 272 across
constexpr double BOSS_RADIUS = 69;        // the raised boss, 138 across
constexpr double CARD_RADIUS = 126;       // the card, 252 across
constexpr double WINDOW_INNER = 70;       // the cover's transparent ring
constexpr double WINDOW_OUTER = 123;
constexpr double NORTH_ON_CARD = 90;      // painted north: +x

void boss_with_aircraft(cairo_t* cr, double radius) {
    // The raised boss, lit from the upper left.
    artgen::fill_lit_disc(cr, CX, CY, radius, radius, {0.45, 0.44, 0.42}, {0.10, 0.10, 0.10});
    cairo_arc(cr, CX, CY, radius - 3, 0, 2 * M_PI);
    cairo_pattern_t* top = cairo_pattern_create_radial(CX - 18, CY - 22, 5, CX, CY, radius);
    cairo_pattern_add_color_stop_rgb(top, 0.0, 0.30, 0.30, 0.29);
    cairo_pattern_add_color_stop_rgb(top, 1.0, 0.17, 0.17, 0.17);
    cairo_set_source(cr, top);
    cairo_fill(cr);
    cairo_pattern_destroy(top);

    artgen::set_colour(cr, artgen::CREAM);
    // Wings, slightly tapered, and the two engine nacelles.
    cairo_new_path(cr);
    cairo_move_to(cr, CX - 52, CY - 3);
    cairo_line_to(cr, CX + 52, CY - 3);
    cairo_line_to(cr, CX + 52, CY + 3);
    cairo_line_to(cr, CX + 8, CY + 6);
    cairo_line_to(cr, CX - 8, CY + 6);
    cairo_line_to(cr, CX - 52, CY + 3);
    cairo_close_path(cr);
    cairo_fill(cr);
    for (double side : {-1.0, 1.0}) {
        cairo_rectangle(cr, CX + side * 22 - 3.5, CY - 14, 7, 22);
        cairo_fill(cr);
    }
    // Fuselage, nose up.
    cairo_new_path(cr);
    cairo_move_to(cr, CX, CY - 42);
    cairo_curve_to(cr, CX + 5, CY - 40, CX + 5, CY - 30, CX + 5, CY - 20);
    cairo_line_to(cr, CX + 2.5, CY + 36);
    cairo_line_to(cr, CX - 2.5, CY + 36);
    cairo_line_to(cr, CX - 5, CY - 20);
    cairo_curve_to(cr, CX - 5, CY - 30, CX - 5, CY - 40, CX, CY - 42);
    cairo_close_path(cr);
    cairo_fill(cr);
    // Tailplane.
    cairo_rectangle(cr, CX - 20, CY + 28, 40, 6);
    cairo_fill(cr);
    // Index bars above the nose and below the tail.
    cairo_rectangle(cr, CX - 2, CY - radius + 4, 4, 12);
    cairo_fill(cr);
    cairo_rectangle(cr, CX - 2, CY + radius - 16, 4, 12);
    cairo_fill(cr);
    // Dark hub on the pivot.
    cairo_arc(cr, CX, CY, 7, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.12);
    cairo_fill(cr);
    cairo_arc(cr, CX, CY, 6.3, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgb(cr, 0.40, 0.38, 0.34);
    cairo_stroke(cr);
}

void radial_line(cairo_t* cr, double degrees, double r0, double r1, double width) {
    artgen::draw_radial_line(cr, CX, CY, degrees, r0, r1, width);
}

// Text centred on the point at `radius` in direction `degrees`, its top outwards.
void outward_text(cairo_t* cr, const char* text, double degrees, double radius, double size, bool bold) {
    cairo_save(cr);
    cairo_translate(cr, CX, CY);
    cairo_rotate(cr, degrees * M_PI / 180);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_move_to(cr, -ext.width / 2 - ext.x_bearing, -radius - ext.height / 2 - ext.y_bearing);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

}  // namespace

ARTWORK(heading_background, BMP_HEADING_BACKGROUND, WIDTH, HEIGHT, ArtKind::picture) {
    cairo_arc(cr, CX, CY, DISC_RADIUS, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.07, 0.07, 0.07);
    cairo_fill(cr);
    boss_with_aircraft(cr, BOSS_RADIUS);
}

ARTWORK(heading_card, BMP_HEADING_CARD, WIDTH, HEIGHT, ArtKind::picture) {
    cairo_arc(cr, CX, CY, CARD_RADIUS, 0, 2 * M_PI);
    cairo_pattern_t* navy = cairo_pattern_create_radial(CX, CY, 20, CX, CY, CARD_RADIUS);
    cairo_pattern_add_color_stop_rgb(navy, 0.0, 0.09, 0.12, 0.24);
    cairo_pattern_add_color_stop_rgb(navy, 1.0, 0.06, 0.08, 0.17);
    cairo_set_source(cr, navy);
    cairo_fill(cr);
    cairo_pattern_destroy(navy);

    artgen::set_colour(cr, artgen::CREAM);
    for (int h = 0; h < 360; h += 5) {
        const double d = NORTH_ON_CARD + h;
        if (h % 10 == 0) {
            radial_line(cr, d, 121, 107, h % 30 == 0 ? 2.6 : 1.8);
        } else {
            radial_line(cr, d, 121, 113, 1.4);
        }
    }
    const char* cardinal[4] = {"N", "O", "S", "W"};  // O for Ost, east
    for (int h = 0; h < 360; h += 30) {
        if (h % 90 == 0) {
            outward_text(cr, cardinal[h / 90], NORTH_ON_CARD + h, 93, 20, true);
        } else {
            char text[4];
            std::snprintf(text, sizeof text, "%d", h / 10);
            outward_text(cr, text, NORTH_ON_CARD + h, 94, 15, false);
        }
    }
}

ARTWORK(heading_cover, BMP_HEADING_COVER, WIDTH, HEIGHT, ArtKind::picture) {
    artgen::draw_square_bezel(cr, WIDTH, HEIGHT, 30, 20, 8);
    // A grey turned ring round the window.
    artgen::fill_lit_disc(cr, CX, CY, WINDOW_OUTER + 9, 130, {0.62, 0.61, 0.58}, {0.22, 0.22, 0.21});
    cairo_arc(cr, CX, CY, WINDOW_OUTER + 3, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.20, 0.20, 0.19);
    cairo_fill(cr);
    // The window onto the card's graduation.
    cairo_arc(cr, CX, CY, WINDOW_OUTER, 0, 2 * M_PI);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    boss_with_aircraft(cr, WINDOW_INNER);
}
