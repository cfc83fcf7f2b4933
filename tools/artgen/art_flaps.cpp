// Pictures of the flap lever and the gear and flap placard.
#include <cmath>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;

namespace {

// The flap buttons: the undercarriage lever's push-button, each in its own
// 94 x 48 picture with the shaft on rows 19 to 31.
constexpr double BUTTON_WIDTH = 94, BUTTON_HEIGHT = 48, SHAFT_TOP = 19, SHAFT_ROWS = 13;

void flap_button(cairo_t* cr, const char* label) {
    artgen::draw_push_button(cr, 0, 0, BUTTON_WIDTH, BUTTON_HEIGHT, SHAFT_TOP, SHAFT_ROWS, label);
}

}  // namespace

// The two guide rods, each behind one button's shaft; a rod shows to the
// right of its button once the button has slid far enough left.
ARTWORK(flap_background, BMP_FLAP_BACKGROUND, 150, 150, ArtKind::picture) {
    artgen::draw_rod(cr, 67, 128, 26, 43);
    artgen::draw_rod(cr, 69, 128, 106, 123);
}

ARTWORK(flap_ein, BMP_FLAP_EIN, 94, 48, ArtKind::picture) { flap_button(cr, "Ein"); }
ARTWORK(flap_aus, BMP_FLAP_AUS, 94, 48, ArtKind::picture) { flap_button(cr, "Aus"); }

namespace {

constexpr double PLACARD = 230, BORDER = 8;
// Corner radii of the plate, clockwise from top left. The bottom-left corner
// was cut a little tighter than the other three: 17 + 17 + 17 + 16 pixels
// stay pure black and let the panel show through.
constexpr double CORNER_RADII[4] = {9.0, 9.0, 9.0, 8.35};

void rounded_plate(cairo_t* cr, double inset, double extra_radius) {
    const double lo = inset, hi = PLACARD - inset;
    const double r[4] = {CORNER_RADII[0] + extra_radius, CORNER_RADII[1] + extra_radius,
                         CORNER_RADII[2] + extra_radius, CORNER_RADII[3] + extra_radius};
    cairo_new_path(cr);
    cairo_arc(cr, lo + r[0], lo + r[0], r[0], M_PI, 1.5 * M_PI);
    cairo_arc(cr, hi - r[1], lo + r[1], r[1], 1.5 * M_PI, 2 * M_PI);
    cairo_arc(cr, hi - r[2], hi - r[2], r[2], 0, 0.5 * M_PI);
    cairo_arc(cr, lo + r[3], hi - r[3], r[3], 0.5 * M_PI, M_PI);
    cairo_close_path(cr);
}

void lettering(cairo_t* cr, const char* text, double cy, double size, bool bold) {
    artgen::set_colour(cr, artgen::WHITE);
    artgen::text_centred(cr, text, PLACARD / 2, cy, size, bold);
}

// A heading with a rule under it as wide as the word.
void heading(cairo_t* cr, const char* text, double cy) {
    constexpr double size = 15;
    lettering(cr, text, cy, size, true);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    artgen::set_colour(cr, artgen::WHITE);
    cairo_rectangle(cr, std::round(PLACARD / 2 - ext.width / 2), std::round(cy + size * 0.55), std::round(ext.width), 1.5);
    cairo_fill(cr);
}

void warning(cairo_t* cr, double top, const char* title, const char* const (&lines)[3]) {
    heading(cr, title, top);
    for (int i = 0; i < 3; ++i) lettering(cr, lines[i], top + 27 + 17 * i, 12.5, false);
}

}  // namespace

// The gear and flap speed limits on a dark plate in a light frame; only the
// pixels outside the rounded outer corners stay transparent.
ARTWORK(gearflap_placard, BMP_PLACARD, 230, 230, ArtKind::picture) {
    // Frame: light grey, lit from the top left.
    cairo_pattern_t* frame = cairo_pattern_create_linear(0, 0, PLACARD, PLACARD);
    cairo_pattern_add_color_stop_rgb(frame, 0.0, 0.86, 0.86, 0.84);
    cairo_pattern_add_color_stop_rgb(frame, 0.5, 0.74, 0.74, 0.72);
    cairo_pattern_add_color_stop_rgb(frame, 1.0, 0.58, 0.58, 0.56);
    rounded_plate(cr, 0, 0);
    cairo_set_source(cr, frame);
    cairo_fill(cr);
    cairo_pattern_destroy(frame);

    // The dark field, set a little into the frame.
    rounded_plate(cr, BORDER, -2);
    cairo_set_source_rgb(cr, 0.11, 0.11, 0.12);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_stroke(cr);

    // Four screws hold the plate to the panel.
    constexpr double s = BORDER + 10;
    artgen::draw_screw(cr, s, s, 4.5, 0.6);
    artgen::draw_screw(cr, PLACARD - s, s, 4.5, 2.1);
    artgen::draw_screw(cr, PLACARD - s, PLACARD - s, 4.5, 1.2);
    artgen::draw_screw(cr, s, PLACARD - s, 4.5, 2.7);

    static const char* const gear[3] = {"Fahrwerk nicht betätigen", "bei Geschwindigkeiten", "über 400 km/St !"};
    static const char* const flap[3] = {"Landeklappe ganz einfahren", "bei Geschwindigkeiten", "über 250 km/St !"};
    warning(cr, 32, "Achtung Fahrwerk", gear);
    cairo_rectangle(cr, 40, 114.5, PLACARD - 80, 1);
    artgen::set_colour(cr, artgen::LIGHT_GREY, 0.6);
    cairo_fill(cr);
    warning(cr, 134, "Achtung Landeklappe", flap);
}
