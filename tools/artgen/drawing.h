// Drawing helpers shared by several pictures.
#pragma once

#include <cairo.h>

namespace artgen {

struct Colour {
    double r, g, b;
};

// Period instrument colours.
inline constexpr Colour CREAM{0.93, 0.89, 0.76};
inline constexpr Colour WHITE{0.97, 0.97, 0.95};
inline constexpr Colour LIGHT_GREY{0.78, 0.78, 0.76};
inline constexpr Colour SHAFT_DARK{0.16, 0.16, 0.17};
inline constexpr Colour LETTER_DARK{0.10, 0.10, 0.12};

void set_colour(cairo_t* cr, Colour c, double alpha = 1.0);

// Centred text in the sans-serif face; `bold` picks the bold weight.
void text_centred(cairo_t* cr, const char* text, double cx, double cy, double size, bool bold = false);
// The same in another installed face, e.g. "DejaVu Sans Condensed".
void text_centred_in(cairo_t* cr, const char* face, const char* text, double cx, double cy, double size,
                     bool bold);

// An Ein/Aus push-button: a dark shaft across the full width `width` from
// `left`, rows [shaft_top, shaft_top + shaft_rows), and a white disc of
// diameter `disc` centred on the width, with the label in dark letters.
void draw_push_button(cairo_t* cr, double left, double top, double width, double disc,
                      double shaft_top, double shaft_rows, const char* label);

// A light grey rod with a rounded right end, spanning columns [x0, x1] and
// rows [y0, y1] inclusive.
void draw_rod(cairo_t* cr, double x0, double x1, double y0, double y1);

// A slotted screw head centred at (cx, cy).
void draw_screw(cairo_t* cr, double cx, double cy, double radius, double slot_angle);

// Dial geometry. Directions are degrees clockwise from straight up about a
// pivot, in picture pixels with y down.
struct Point {
    double x, y;
};
Point dial_point(double cx, double cy, double radius, double degrees);
// A disc lit from the upper left: a diagonal gradient from `lit` at
// (cx - spread, cy - spread) to `shade` at (cx + spread, cy + spread), as on a
// turned bezel ring or a raised boss.
void fill_lit_disc(cairo_t* cr, double cx, double cy, double radius, double spread, Colour lit, Colour shade);
// The matt black face of a dial, faintly lighter towards the middle.
void fill_matt_face(cairo_t* cr, double cx, double cy, double radius);
// A straight mark along direction `degrees` about (cx, cy), from radius r0 to r1.
void draw_radial_line(cairo_t* cr, double cx, double cy, double degrees, double r0, double r1, double width);
double direction_of(double cx, double cy, double x, double y);  // in [0, 360)

// One entry of a needle's calibration table: a point the needle points at
// and the value at which it points there.
struct TableEntry {
    int x, y;
    double value;
};

// The direction a needle with this table shows for `value`, by the rule the
// simulator turns needles: each entry's direction is that of its point from
// the pivot, consecutive entries are joined clockwise (never the short way),
// values in between interpolate linearly along that arc, and past either end
// the needle stays on the end entry. Values may rise or fall along the table.
double needle_direction(const TableEntry* table, int count, double px, double py, double value);

// A square instrument bezel with rounded corners filling a w x h picture,
// lit from the upper left, with a slotted screw in each corner.
void draw_square_bezel(cairo_t* cr, double w, double h, double corner_radius, double screw_inset,
                       double screw_radius);

}  // namespace artgen
