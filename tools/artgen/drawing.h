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

}  // namespace artgen
