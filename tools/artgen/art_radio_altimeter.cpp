// Pictures of the radio altimeter: the face with its 0..750 m scale, the
// needle, and the cover (bezel and centre cap) drawn over the needle.
//
// The marks stand where the needle's calibration table sends the needle: the
// table below is the gauge's own, and each height becomes a direction by the
// same clockwise rule the simulator applies.
#include <cmath>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;
using artgen::Point;

namespace {

constexpr double PIVOT_X = 150, PIVOT_Y = 150;
constexpr double CX = PIVOT_X + 0.5, CY = PIVOT_Y + 0.5;  // centre of the pivot pixel

// The needle's table, as in the gauge's records.
constexpr artgen::TableEntry TABLE[] = {
    {43, 186, 0.0}, {43, 186, 0.1}, {263, 188, 750.0}, {263, 188, 751.0},
};

double direction_for(double metres) { return artgen::needle_direction(TABLE, 4, PIVOT_X, PIVOT_Y, metres); }

constexpr double DIAL_RADIUS = 127.5;  // 255 across
constexpr double WINDOW_RADIUS = 123;  // the cover's window, 246 across
constexpr double CAP_RADIUS = 21.5;    // 43 across
constexpr double SCALE_RADIUS = 117;   // the scale arc; marks point inwards from it

void radial_line(cairo_t* cr, double degrees, double r0, double r1, double width) {
    artgen::draw_radial_line(cr, CX, CY, degrees, r0, r1, width);
}

void label(cairo_t* cr, const char* text, double cx, double cy, double size, const char* face, bool bold) {
    artgen::text_centred_in(cr, face, text, cx, cy, size, bold);
}

}  // namespace

ARTWORK(radio_altimeter_face, BMP_RADALT_FACE, 299, 299, ArtKind::picture) {
    artgen::fill_matt_face(cr, CX, CY, DIAL_RADIUS);

    artgen::set_colour(cr, artgen::CREAM);
    const double from = direction_for(0), to = direction_for(750);
    double sweep = to - from;
    if (sweep <= 0) sweep += 360;
    cairo_set_line_width(cr, 2.0);
    cairo_new_path(cr);
    cairo_arc(cr, CX, CY, SCALE_RADIUS, (from - 90) * M_PI / 180, (from + sweep - 90) * M_PI / 180);
    cairo_stroke(cr);
    for (int m = 0; m <= 750; m += 50) {
        const bool major = m % 250 == 0;
        radial_line(cr, direction_for(m), SCALE_RADIUS + 1, major ? 99 : 106, major ? 4.5 : 2.0);
    }
    // 250 and 500 inside the arc beside the top; 0 and 750 level with their marks.
    const char* face = "DejaVu Sans Condensed";
    for (int m : {250, 500}) {
        const Point at = artgen::dial_point(CX, CY, 82, direction_for(m));
        label(cr, m == 250 ? "250" : "500", at.x, at.y, 20, face, true);
    }
    const Point zero = artgen::dial_point(CX, CY, 99, direction_for(0));
    label(cr, "0", zero.x + 16, zero.y, 20, face, true);
    const Point top = artgen::dial_point(CX, CY, 99, direction_for(750));
    label(cr, "750", top.x - 26, top.y, 20, face, true);
    // Where the needle never goes: the legend, height above ground.
    label(cr, "Höhe", CX, CY + 50, 17, "DejaVu Sans", true);
    label(cr, "über Grund", CX, CY + 70, 12, "DejaVu Sans", false);
}

// Drawn pointing along +x from the pivot (0, 7): a plain bar of rows 2..11
// from x 9 to a tapered tip at x 110.
ARTWORK(radio_altimeter_needle, BMP_RADALT_NEEDLE, 112, 15, ArtKind::picture) {
    cairo_new_path(cr);
    cairo_move_to(cr, 9, 2);
    cairo_line_to(cr, 96, 2);
    cairo_line_to(cr, 111, 6.4);
    cairo_line_to(cr, 111, 7.6);
    cairo_line_to(cr, 96, 12);
    cairo_line_to(cr, 9, 12);
    cairo_close_path(cr);
    cairo_pattern_t* bar = cairo_pattern_create_linear(0, 2, 0, 12);
    cairo_pattern_add_color_stop_rgb(bar, 0.0, 0.97, 0.94, 0.84);
    cairo_pattern_add_color_stop_rgb(bar, 1.0, 0.84, 0.80, 0.67);
    cairo_set_source(cr, bar);
    cairo_fill(cr);
    cairo_pattern_destroy(bar);
}

ARTWORK(radio_altimeter_cover, BMP_RADALT_COVER, 299, 299, ArtKind::picture) {
    artgen::draw_square_bezel(cr, 299, 299, 30, 20, 8);
    // A turned ring round the window, lit from the upper left.
    artgen::fill_lit_disc(cr, CX, CY, WINDOW_RADIUS + 8, 130, {0.12, 0.11, 0.09}, {0.40, 0.36, 0.31});
    // The window: nothing drawn, so face and needle show through.
    cairo_arc(cr, CX, CY, WINDOW_RADIUS, 0, 2 * M_PI);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    // The centre cap over the needle's inner end, with the unit letter.
    cairo_arc(cr, CX, CY, CAP_RADIUS, 0, 2 * M_PI);
    cairo_pattern_t* cap = cairo_pattern_create_radial(CX - 7, CY - 8, 2, CX, CY, CAP_RADIUS);
    cairo_pattern_add_color_stop_rgb(cap, 0.0, 0.30, 0.29, 0.27);
    cairo_pattern_add_color_stop_rgb(cap, 1.0, 0.10, 0.10, 0.09);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_arc(cr, CX, CY, CAP_RADIUS - 1, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.2);
    cairo_set_source_rgb(cr, 0.38, 0.36, 0.32);
    cairo_stroke(cr);
    artgen::set_colour(cr, artgen::CREAM);
    label(cr, "m", CX, CY - 1, 20, "DejaVu Sans", true);
}
