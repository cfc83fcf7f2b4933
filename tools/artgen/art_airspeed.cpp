// Pictures of the airspeed indicator: the km/h dial and the needle.
//
// Every mark on the dial is placed where the needle's calibration table sends
// the needle for that speed: the table below is the gauge's own (knots at
// dial points), and each km/h value is converted to knots and turned into a
// direction by the same clockwise rule the simulator applies.
#include <cmath>
#include <cstdio>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;
using artgen::Point;

namespace {

constexpr double PIVOT_X = 150, PIVOT_Y = 150;
// Pixel (x, y) covers [x, x + 1) x [y, y + 1); pictures are centred on pixel centres.
constexpr double CX = PIVOT_X + 0.5, CY = PIVOT_Y + 0.5;
constexpr double KMH_PER_KNOT = 1.852;

// The needle's table, as in the gauge's records.
constexpr artgen::TableEntry TABLE[] = {
    {153, 254, 0.0}, {153, 254, 1.0}, {130, 252, 54.0}, {188, 245, 405.0}, {188, 245, 406.0},
};

double direction_for_kmh(double kmh) {
    return artgen::needle_direction(TABLE, 5, PIVOT_X, PIVOT_Y, kmh / KMH_PER_KNOT);
}

constexpr double FACE_RADIUS = 131;
constexpr double SCALE_OUTER = 122;  // outer ends of all marks

void radial_line(cairo_t* cr, double degrees, double r0, double r1, double width) {
    artgen::draw_radial_line(cr, CX, CY, degrees, r0, r1, width);
}

void numeral(cairo_t* cr, const char* text, double cx, double cy, double size) {
    artgen::text_centred_in(cr, "DejaVu Sans Condensed", text, cx, cy, size, true);
}

void face(cairo_t* cr) {
    // A bright chamfered ring where the bezel turns down to the face.
    artgen::fill_lit_disc(cr, CX, CY, FACE_RADIUS + 9, 140, {0.12, 0.11, 0.09}, {0.40, 0.36, 0.31});
    cairo_arc(cr, CX, CY, FACE_RADIUS + 2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_fill(cr);
    // Matt black face, faintly lighter towards the middle.
    artgen::fill_matt_face(cr, CX, CY, FACE_RADIUS);
}

void scale(cairo_t* cr) {
    artgen::set_colour(cr, artgen::CREAM);
    // The scale's outer edge, from the 100 mark clockwise round to the 750 line.
    const double from = direction_for_kmh(100), to = direction_for_kmh(750);
    double sweep = to - from;
    if (sweep <= 0) sweep += 360;
    cairo_set_line_width(cr, 1.6);
    cairo_new_path(cr);
    cairo_arc(cr, CX, CY, SCALE_OUTER - 0.8, (from - 90) * M_PI / 180, (from + sweep - 90) * M_PI / 180);
    cairo_stroke(cr);

    for (int kmh = 100; kmh <= 750; kmh += 10) {
        const double d = direction_for_kmh(kmh);
        if (kmh == 750) {
            radial_line(cr, d, SCALE_OUTER, 94, 2.0);  // the long thin limit line
        } else if (kmh % 100 == 0) {
            radial_line(cr, d, SCALE_OUTER, 103, 4.5);
        } else if (kmh % 50 == 0) {
            radial_line(cr, d, SCALE_OUTER, 106, 2.0);
        } else {
            radial_line(cr, d, SCALE_OUTER, 113, 1.6);
        }
    }
    for (int kmh = 100; kmh <= 700; kmh += 100) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", kmh);
        const Point at = artgen::dial_point(CX, CY, 84, direction_for_kmh(kmh));
        numeral(cr, text, at.x, at.y, 19);
    }
    // The rest bar, where the needle lies on the ground.
    radial_line(cr, artgen::needle_direction(TABLE, 5, PIVOT_X, PIVOT_Y, 0.0), SCALE_OUTER, 108, 6.0);

    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    artgen::text_centred(cr, "km/h", CX, CY + 30, 15);
}

}  // namespace

ARTWORK(airspeed_dial, BMP_AIRSPEED_DIAL, 299, 299, ArtKind::picture) {
    artgen::draw_square_bezel(cr, 299, 299, 30, 20, 8);
    face(cr);
    scale(cr);
}

// Drawn pointing along +x from the pivot (15, 14).
ARTWORK(airspeed_needle, BMP_AIRSPEED_NEEDLE, 129, 31, ArtKind::picture) {
    const double px = 15.5, py = 14.5;
    // Shaft: 9 rows centred on the pivot row, nearly white, then cream to a tapered tip.
    cairo_new_path(cr);
    cairo_move_to(cr, px, py - 4.5);
    cairo_line_to(cr, 86, py - 4.5);
    cairo_line_to(cr, 86, py + 4.5);
    cairo_line_to(cr, px, py + 4.5);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.95, 0.94, 0.90);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 86, py - 4.5);
    cairo_line_to(cr, 110, py - 4.5);
    cairo_line_to(cr, 128, py - 0.6);
    cairo_line_to(cr, 128, py + 0.6);
    cairo_line_to(cr, 110, py + 4.5);
    cairo_line_to(cr, 86, py + 4.5);
    cairo_close_path(cr);
    artgen::set_colour(cr, artgen::CREAM);
    cairo_fill(cr);
    // A faint groove along the shaft so it reads as a pressed blade.
    cairo_move_to(cr, 32, py);
    cairo_line_to(cr, 108, py);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.55, 0.52, 0.45, 0.6);
    cairo_stroke(cr);
    // Hub: a beige boss with a darker centre.
    cairo_arc(cr, px, py, 14.5, 0, 2 * M_PI);
    cairo_pattern_t* hub = cairo_pattern_create_radial(px - 5, py - 5, 1, px, py, 14.5);
    cairo_pattern_add_color_stop_rgb(hub, 0.0, 0.90, 0.84, 0.70);
    cairo_pattern_add_color_stop_rgb(hub, 1.0, 0.62, 0.56, 0.44);
    cairo_set_source(cr, hub);
    cairo_fill(cr);
    cairo_arc(cr, px, py, 5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.36, 0.32, 0.25);
    cairo_fill(cr);
}
