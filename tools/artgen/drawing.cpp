#include "drawing.h"

#include <cmath>

namespace artgen {

void set_colour(cairo_t* cr, Colour c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void text_centred(cairo_t* cr, const char* text, double cx, double cy, double size, bool bold) {
    text_centred_in(cr, "DejaVu Sans", text, cx, cy, size, bold);
}

void text_centred_in(cairo_t* cr, const char* face, const char* text, double cx, double cy, double size,
                     bool bold) {
    cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, cy - ext.height / 2 - ext.y_bearing);
    cairo_show_text(cr, text);
}

void draw_push_button(cairo_t* cr, double left, double top, double width, double disc,
                      double shaft_top, double shaft_rows, const char* label) {
    // Shaft with a little shading so it reads as round stock.
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, shaft_top, 0, shaft_top + shaft_rows);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.30, 0.30, 0.32);
    cairo_pattern_add_color_stop_rgb(shade, 0.45, SHAFT_DARK.r, SHAFT_DARK.g, SHAFT_DARK.b);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.08, 0.08, 0.09);
    cairo_rectangle(cr, left, shaft_top, width, shaft_rows);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);

    const double cx = left + width / 2, cy = top + disc / 2, r = disc / 2;
    cairo_pattern_t* face = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(face, 0.0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(face, 0.8, WHITE.r, WHITE.g, WHITE.b);
    cairo_pattern_add_color_stop_rgb(face, 1.0, 0.70, 0.70, 0.68);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
    cairo_arc(cr, cx, cy, r - 0.75, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.5);
    cairo_set_source_rgb(cr, 0.45, 0.45, 0.44);
    cairo_stroke(cr);

    set_colour(cr, LETTER_DARK);
    text_centred(cr, label, cx, cy, disc * 0.36, true);
}

void draw_rod(cairo_t* cr, double x0, double x1, double y0, double y1) {
    const double h = y1 - y0 + 1, r = h / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1 + 1 - r, y0);
    cairo_arc(cr, x1 + 1 - r, y0 + r, r, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, x0, y1 + 1);
    cairo_close_path(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, y0, 0, y1 + 1);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.62, 0.62, 0.60);
    cairo_pattern_add_color_stop_rgb(shade, 0.35, 0.90, 0.90, 0.88);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.55, 0.55, 0.53);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

void draw_screw(cairo_t* cr, double cx, double cy, double radius, double slot_angle) {
    cairo_pattern_t* head = cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.3, radius * 0.1,
                                                        cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(head, 0.0, 0.62, 0.60, 0.56);
    cairo_pattern_add_color_stop_rgb(head, 1.0, 0.25, 0.24, 0.22);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_set_source(cr, head);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, slot_angle);
    cairo_rectangle(cr, -radius * 0.85, -radius * 0.14, radius * 1.7, radius * 0.28);
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.07);
    cairo_fill(cr);
    cairo_restore(cr);
}

Point dial_point(double cx, double cy, double radius, double degrees) {
    const double a = degrees * M_PI / 180.0;
    return {cx + radius * std::sin(a), cy - radius * std::cos(a)};
}

void fill_lit_disc(cairo_t* cr, double cx, double cy, double radius, double spread, Colour lit, Colour shade) {
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_pattern_t* light = cairo_pattern_create_linear(cx - spread, cy - spread, cx + spread, cy + spread);
    cairo_pattern_add_color_stop_rgb(light, 0.0, lit.r, lit.g, lit.b);
    cairo_pattern_add_color_stop_rgb(light, 1.0, shade.r, shade.g, shade.b);
    cairo_set_source(cr, light);
    cairo_fill(cr);
    cairo_pattern_destroy(light);
}

void fill_matt_face(cairo_t* cr, double cx, double cy, double radius) {
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_pattern_t* paint = cairo_pattern_create_radial(cx - 20, cy - 25, 10, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(paint, 0.0, 0.13, 0.13, 0.12);
    cairo_pattern_add_color_stop_rgb(paint, 1.0, 0.06, 0.06, 0.06);
    cairo_set_source(cr, paint);
    cairo_fill(cr);
    cairo_pattern_destroy(paint);
}

void draw_radial_line(cairo_t* cr, double cx, double cy, double degrees, double r0, double r1, double width) {
    const Point a = dial_point(cx, cy, r0, degrees);
    const Point b = dial_point(cx, cy, r1, degrees);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_stroke(cr);
}

double direction_of(double cx, double cy, double x, double y) {
    const double d = std::atan2(x - cx, cy - y) * 180.0 / M_PI;
    return d < 0 ? d + 360.0 : d;
}

double needle_direction(const TableEntry* table, int count, double px, double py, double value) {
    auto dir = [&](int i) { return direction_of(px, py, table[i].x, table[i].y); };
    const bool rising = table[count - 1].value >= table[0].value;
    auto before = [&](double a, double b) { return rising ? a <= b : a >= b; };
    if (before(value, table[0].value)) return dir(0);
    for (int i = 0; i + 1 < count; ++i) {
        const double v0 = table[i].value, v1 = table[i + 1].value;
        if (before(value, v1)) {
            const double a0 = dir(i);
            double span = std::fmod(dir(i + 1) - a0 + 360.0, 360.0);
            // Two distinct points on one direction close a full turn; one point repeated is a stop.
            if (span == 0.0 && (table[i].x != table[i + 1].x || table[i].y != table[i + 1].y)) span = 360.0;
            const double a = a0 + span * (value - v0) / (v1 - v0);
            return std::fmod(a, 360.0);
        }
    }
    return dir(count - 1);
}

void draw_square_bezel(cairo_t* cr, double w, double h, double corner_radius, double screw_inset,
                       double screw_radius) {
    auto rounded = [&](double inset) {
        const double r = corner_radius - inset;
        cairo_new_sub_path(cr);
        cairo_arc(cr, w - inset - r, inset + r, r, -M_PI / 2, 0);
        cairo_arc(cr, w - inset - r, h - inset - r, r, 0, M_PI / 2);
        cairo_arc(cr, inset + r, h - inset - r, r, M_PI / 2, M_PI);
        cairo_arc(cr, inset + r, inset + r, r, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr);
    };
    // Dark grey-brown enamel, a lighter rim where the light catches it.
    rounded(0);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, w, h);
    cairo_pattern_add_color_stop_rgb(rim, 0.0, 0.42, 0.38, 0.33);
    cairo_pattern_add_color_stop_rgb(rim, 1.0, 0.10, 0.09, 0.08);
    cairo_set_source(cr, rim);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    rounded(3);
    cairo_pattern_t* plate = cairo_pattern_create_linear(0, 0, w, h);
    cairo_pattern_add_color_stop_rgb(plate, 0.0, 0.29, 0.26, 0.22);
    cairo_pattern_add_color_stop_rgb(plate, 0.6, 0.21, 0.19, 0.16);
    cairo_pattern_add_color_stop_rgb(plate, 1.0, 0.16, 0.14, 0.12);
    cairo_set_source(cr, plate);
    cairo_fill(cr);
    cairo_pattern_destroy(plate);
    const double slots[4] = {0.6, 2.2, 1.1, 2.8};
    const Point corners[4] = {{screw_inset, screw_inset},
                              {w - screw_inset, screw_inset},
                              {screw_inset, h - screw_inset},
                              {w - screw_inset, h - screw_inset}};
    for (int i = 0; i < 4; ++i) {
        // A countersunk ring round each screw.
        cairo_arc(cr, corners[i].x, corners[i].y, screw_radius + 1.5, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.09, 0.08, 0.07);
        cairo_fill(cr);
        draw_screw(cr, corners[i].x, corners[i].y, screw_radius, slots[i]);
    }
}

}  // namespace artgen
