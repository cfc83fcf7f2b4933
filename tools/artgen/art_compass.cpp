// Pictures of the course compass: the face, the two strips with their window
// masks, the frame and the slip ball.
//
// Strip geometry follows the strip callback: the strips slide 1.6 pixels per
// degree, and the mark for heading H is centred at x = 652 - 1.6 H, so the
// heading under the lubber line (76 pixels into the window) is the one the
// callback's value puts there.
#include <cmath>
#include <cstdio>
#include <utility>

#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;

namespace {

constexpr int FACE_W = 301, FACE_H = 331;
constexpr int STRIP_W = 730, STRIP_H = 47;
constexpr int WINDOW_W = 154, WINDOW_H = 47;

// The window on the gauge (columns and rows inclusive), and where each strip's
// own window lies on it.
constexpr int WINDOW_LEFT = 76, WINDOW_RIGHT = 229, WINDOW_TOP = 90, WINDOW_BOTTOM = 183;
constexpr int HEADING_STRIP_TOP = 90, COURSE_STRIP_TOP = 140;

// The lubber line: columns 150 to 153; on the frame it reaches over the bezel.
constexpr int LUBBER_LEFT = 150, LUBBER_RIGHT = 153, LUBBER_TOP = 85, LUBBER_BOTTOM = 191;

// The square in the top panel: red above its rising diagonal, black below.
constexpr int SQUARE_LEFT = 90, SQUARE_TOP = 28, SQUARE_SIZE = 27;

// The slip tube: a band of constant width along an arc below its middle,
// with round ends, so that it spans columns 68 to 236 and rows 216 to 250,
// rows 224 to 250 at column 152.
constexpr double TUBE_CX = 152.5;           // the band is symmetric about this x
constexpr double TUBE_MID_Y = 237.5;        // middle of the band at its centre column
constexpr double TUBE_HALF_WIDTH = 13.5;
constexpr double TUBE_RADIUS = 325.2;       // radius of the band's middle line
constexpr double TUBE_END_DX = 70.8;        // middle of each round end from TUBE_CX

// The course knob and the socket.
constexpr double KNOB_CX = 51, KNOB_CY = 282, KNOB_R = 31;
constexpr double SOCKET_CX = 252, SOCKET_CY = 282, SOCKET_R = 21;

constexpr artgen::Colour PANEL{0.15, 0.15, 0.16};
constexpr artgen::Colour STRIP_BACK{0.085, 0.085, 0.095};
constexpr artgen::Colour MARK{0.93, 0.91, 0.83};
constexpr artgen::Colour SIGNAL_RED{0.78, 0.10, 0.08};

// ---- strips -----------------------------------------------------------------

constexpr double PIXELS_PER_DEGREE = 1.6;
double mark_x(double heading) { return 652.0 - PIXELS_PER_DEGREE * heading; }

// Label of a 30-degree mark: the cardinal points (O for east), else tens of degrees.
void label_text(int heading, char out[4]) {
    const int h = ((heading % 360) + 360) % 360;
    switch (h) {
        case 0: std::snprintf(out, 4, "N"); break;
        case 90: std::snprintf(out, 4, "O"); break;
        case 180: std::snprintf(out, 4, "S"); break;
        case 270: std::snprintf(out, 4, "W"); break;
        default: std::snprintf(out, 4, "%d", h / 10);
    }
}

// Bold condensed lettering whose capital height fills rows [top, bottom],
// centred on x.
void label(cairo_t* cr, const char* text, double cx, int top, int bottom) {
    cairo_select_font_face(cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 100);
    cairo_text_extents_t ref;
    cairo_text_extents(cr, "N", &ref);
    const double size = 100.0 * (bottom + 1 - top) / ref.height;
    cairo_set_font_size(cr, size);
    cairo_text_extents(cr, "N", &ref);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, top - ref.y_bearing);
    cairo_show_text(cr, text);
}

enum class Layout { heading, course };

struct StripRows {
    int label_top, label_bottom;
    int arrow_base, arrow_tip;      // rows; the tip row is the arrow's narrow end
    int tick_edge, long_end, short_end;  // ticks run from the edge row to their end row
};

constexpr StripRows HEADING_ROWS{6, 21, 26, 39, 45, 33, 39};
constexpr StripRows COURSE_ROWS{25, 40, 20, 4, 1, 13, 7};

void rows_rect(cairo_t* cr, double x0, double x1, int row_a, int row_b) {
    const int lo = row_a < row_b ? row_a : row_b, hi = row_a < row_b ? row_b : row_a;
    cairo_rectangle(cr, x0, lo, x1 - x0, hi + 1 - lo);
}

// One strip at the origin. Headings fall from left to right; every mark sits
// where mark_x puts it.
void draw_strip(cairo_t* cr, Layout layout) {
    const StripRows& rows = layout == Layout::heading ? HEADING_ROWS : COURSE_ROWS;
    // Near-black ground with a faint sheen across the middle, never pure black.
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, STRIP_H);
    cairo_pattern_add_color_stop_rgb(ground, 0.0, STRIP_BACK.r * 0.8, STRIP_BACK.g * 0.8, STRIP_BACK.b * 0.8);
    cairo_pattern_add_color_stop_rgb(ground, 0.5, STRIP_BACK.r * 1.4, STRIP_BACK.g * 1.4, STRIP_BACK.b * 1.4);
    cairo_pattern_add_color_stop_rgb(ground, 1.0, STRIP_BACK.r * 0.8, STRIP_BACK.g * 0.8, STRIP_BACK.b * 0.8);
    cairo_rectangle(cr, 0, 0, STRIP_W, STRIP_H);
    cairo_set_source(cr, ground);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);

    artgen::set_colour(cr, MARK);
    // Ticks every 5 degrees, longer every 10; the arrows stand in for the
    // ticks at the labelled marks.
    for (int h = 405; h >= -45; h -= 5) {
        const double x = mark_x(h);
        if (x - 1 < 0 || x + 1 > STRIP_W || h % 30 == 0) continue;
        rows_rect(cr, x - 1, x + 1, rows.tick_edge, h % 10 == 0 ? rows.long_end : rows.short_end);
    }
    cairo_fill(cr);
    for (int h = 390; h >= -30; h -= 30) {
        const double x = mark_x(h);
        const bool down = rows.arrow_tip > rows.arrow_base;
        const double base_y = down ? rows.arrow_base : rows.arrow_base + 1;
        const double tip_y = down ? rows.arrow_tip + 1 : rows.arrow_tip;
        cairo_move_to(cr, x - 6, base_y);
        cairo_line_to(cr, x + 6, base_y);
        cairo_line_to(cr, x + 1, tip_y);
        cairo_line_to(cr, x - 1, tip_y);
        cairo_close_path(cr);
        cairo_fill(cr);
        char text[4];
        label_text(h, text);
        label(cr, text, x, rows.label_top, rows.label_bottom);
    }
}

// ---- the instrument front ----------------------------------------------------

void bevel_rect(cairo_t* cr, double x, double y, double w, double h, double width, bool sunk) {
    const double light = sunk ? 0.06 : 0.38, dark = sunk ? 0.36 : 0.05;
    cairo_set_line_width(cr, width);
    // upper and left edges
    cairo_move_to(cr, x + width / 2, y + h);
    cairo_line_to(cr, x + width / 2, y + width / 2);
    cairo_line_to(cr, x + w, y + width / 2);
    cairo_set_source_rgb(cr, light, light, light * 1.02);
    cairo_stroke(cr);
    // lower and right edges
    cairo_move_to(cr, x + w - width / 2, y);
    cairo_line_to(cr, x + w - width / 2, y + h - width / 2);
    cairo_line_to(cr, x, y + h - width / 2);
    cairo_set_source_rgb(cr, dark, dark, dark * 1.02);
    cairo_stroke(cr);
}

void tube_path(cairo_t* cr) {
    const double cy = TUBE_MID_Y - TUBE_RADIUS;
    const double d = std::asin(TUBE_END_DX / TUBE_RADIUS);
    cairo_new_path(cr);
    cairo_arc(cr, TUBE_CX, cy, TUBE_RADIUS, M_PI / 2 - d, M_PI / 2 + d);
    cairo_set_line_width(cr, 2 * TUBE_HALF_WIDTH);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

void draw_knob(cairo_t* cr) {
    // Knurled rim.
    constexpr int TEETH = 44;
    for (int i = 0; i < TEETH; ++i) {
        const double a0 = 2 * M_PI * i / TEETH, a1 = 2 * M_PI * (i + 0.5) / TEETH;
        cairo_move_to(cr, KNOB_CX, KNOB_CY);
        cairo_arc(cr, KNOB_CX, KNOB_CY, KNOB_R, a0, a1);
        cairo_close_path(cr);
        const double shade = 0.18 + 0.14 * (0.5 + 0.5 * std::cos(a0 + M_PI * 0.75));
        cairo_set_source_rgb(cr, shade, shade, shade * 1.03);
        cairo_fill(cr);
        cairo_move_to(cr, KNOB_CX, KNOB_CY);
        cairo_arc(cr, KNOB_CX, KNOB_CY, KNOB_R - 0.5, a1, a0 + 2 * M_PI / TEETH);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, shade * 0.45, shade * 0.45, shade * 0.47);
        cairo_fill(cr);
    }
    // Domed cap.
    cairo_pattern_t* cap = cairo_pattern_create_radial(KNOB_CX - 9, KNOB_CY - 10, 2, KNOB_CX, KNOB_CY, KNOB_R - 5);
    cairo_pattern_add_color_stop_rgb(cap, 0.0, 0.50, 0.50, 0.50);
    cairo_pattern_add_color_stop_rgb(cap, 0.6, 0.20, 0.20, 0.21);
    cairo_pattern_add_color_stop_rgb(cap, 1.0, 0.09, 0.09, 0.10);
    cairo_arc(cr, KNOB_CX, KNOB_CY, KNOB_R - 5, 0, 2 * M_PI);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    // Index line across the cap.
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    artgen::set_colour(cr, MARK, 0.9);
    cairo_move_to(cr, KNOB_CX, KNOB_CY - KNOB_R + 9);
    cairo_line_to(cr, KNOB_CX, KNOB_CY - 8);
    cairo_stroke(cr);
}

void draw_socket(cairo_t* cr) {
    cairo_pattern_t* ring = cairo_pattern_create_linear(SOCKET_CX - SOCKET_R, SOCKET_CY - SOCKET_R,
                                                        SOCKET_CX + SOCKET_R, SOCKET_CY + SOCKET_R);
    cairo_pattern_add_color_stop_rgb(ring, 0.0, 0.55, 0.54, 0.50);
    cairo_pattern_add_color_stop_rgb(ring, 1.0, 0.16, 0.16, 0.15);
    cairo_arc(cr, SOCKET_CX, SOCKET_CY, SOCKET_R, 0, 2 * M_PI);
    cairo_set_source(cr, ring);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    cairo_pattern_t* hole = cairo_pattern_create_radial(SOCKET_CX + 3, SOCKET_CY + 3, 1, SOCKET_CX, SOCKET_CY,
                                                        SOCKET_R - 5);
    cairo_pattern_add_color_stop_rgb(hole, 0.0, 0.10, 0.10, 0.10);
    cairo_pattern_add_color_stop_rgb(hole, 1.0, 0.03, 0.03, 0.035);
    cairo_arc(cr, SOCKET_CX, SOCKET_CY, SOCKET_R - 5, 0, 2 * M_PI);
    cairo_set_source(cr, hole);
    cairo_fill(cr);
    cairo_pattern_destroy(hole);
    // Two contact pins.
    for (double dx : {-6.0, 6.0}) {
        cairo_arc(cr, SOCKET_CX + dx, SOCKET_CY, 2.2, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.62, 0.56, 0.40);
        cairo_fill(cr);
    }
}

void condensed_text(cairo_t* cr, const char* text, double cx, double baseline, double size) {
    cairo_select_font_face(cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, baseline);
    cairo_show_text(cr, text);
}

// The signal square: red upper left, pure black (transparent) lower right.
void draw_signal_square(cairo_t* cr) {
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, SQUARE_LEFT, SQUARE_TOP, SQUARE_SIZE, SQUARE_SIZE);
    artgen::set_colour(cr, SIGNAL_RED);
    cairo_fill(cr);
    cairo_move_to(cr, SQUARE_LEFT + SQUARE_SIZE, SQUARE_TOP);
    cairo_line_to(cr, SQUARE_LEFT + SQUARE_SIZE, SQUARE_TOP + SQUARE_SIZE);
    cairo_line_to(cr, SQUARE_LEFT, SQUARE_TOP + SQUARE_SIZE);
    cairo_close_path(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Everything the face and the frame share: the body, bezels, panel, tube
// surround, legend, knob, socket and screws. Opaque all over but for the
// black half of the signal square.
void draw_front(cairo_t* cr) {
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, FACE_W * 0.3, FACE_H);
    cairo_pattern_add_color_stop_rgb(body, 0.0, PANEL.r * 1.25, PANEL.g * 1.25, PANEL.b * 1.25);
    cairo_pattern_add_color_stop_rgb(body, 1.0, PANEL.r * 0.8, PANEL.g * 0.8, PANEL.b * 0.8);
    cairo_rectangle(cr, 0, 0, FACE_W, FACE_H);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    bevel_rect(cr, 0, 0, FACE_W, FACE_H, 3, false);
    bevel_rect(cr, 5, 5, FACE_W - 10, FACE_H - 10, 1, true);

    // The long recessed panel at the top.
    cairo_rectangle(cr, 30, 18, 241, 47);
    cairo_set_source_rgb(cr, 0.085, 0.085, 0.09);
    cairo_fill(cr);
    bevel_rect(cr, 30, 18, 241, 47, 2, true);
    artgen::set_colour(cr, MARK, 0.8);
    condensed_text(cr, "Tochterkompass", 192, 40, 13);
    artgen::set_colour(cr, artgen::LIGHT_GREY, 0.55);
    condensed_text(cr, "Fl. 23334", 192, 55, 9);
    draw_signal_square(cr);

    // Window bezel.
    cairo_rectangle(cr, WINDOW_LEFT - 7, WINDOW_TOP - 7, WINDOW_RIGHT - WINDOW_LEFT + 15,
                    WINDOW_BOTTOM - WINDOW_TOP + 15);
    cairo_set_source_rgb(cr, 0.07, 0.07, 0.075);
    cairo_fill(cr);
    bevel_rect(cr, WINDOW_LEFT - 7, WINDOW_TOP - 7, WINDOW_RIGHT - WINDOW_LEFT + 15,
               WINDOW_BOTTOM - WINDOW_TOP + 15, 3, true);
    bevel_rect(cr, WINDOW_LEFT - 2, WINDOW_TOP - 2, WINDOW_RIGHT - WINDOW_LEFT + 5, WINDOW_BOTTOM - WINDOW_TOP + 5,
               1.5, false);
    artgen::set_colour(cr, MARK, 0.8);
    condensed_text(cr, "Ist", 40, 118, 12);
    condensed_text(cr, "Soll", 40, 168, 12);

    // Surround of the slip tube: a dark channel one pixel wider than the tube.
    tube_path(cr);
    cairo_set_line_width(cr, 2 * TUBE_HALF_WIDTH + 6);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.065);
    cairo_stroke(cr);

    // The legend: the course control is uncoupled while the knob is pressed in.
    artgen::set_colour(cr, MARK, 0.9);
    condensed_text(cr, "Kurssteuerung ausgekuppelt,", 159, 276, 10.5);
    condensed_text(cr, "solange Knopf gedrückt", 159, 291, 10.5);

    draw_knob(cr);
    draw_socket(cr);
    for (auto [x, y] : {std::pair{14.0, 14.0}, {287.0, 14.0}, {14.0, 317.0}, {287.0, 317.0}})
        artgen::draw_screw(cr, x, y, 7, 0.6 + x * 0.01 + y * 0.003);
}

void draw_lubber_line(cairo_t* cr) {
    const double w = LUBBER_RIGHT + 1 - LUBBER_LEFT;
    cairo_pattern_t* line = cairo_pattern_create_linear(LUBBER_LEFT, 0, LUBBER_LEFT + w, 0);
    cairo_pattern_add_color_stop_rgb(line, 0.0, MARK.r * 0.8, MARK.g * 0.8, MARK.b * 0.8);
    cairo_pattern_add_color_stop_rgb(line, 0.5, MARK.r, MARK.g, MARK.b);
    cairo_pattern_add_color_stop_rgb(line, 1.0, MARK.r * 0.75, MARK.g * 0.75, MARK.b * 0.75);
    cairo_rectangle(cr, LUBBER_LEFT, LUBBER_TOP, w, LUBBER_BOTTOM + 1 - LUBBER_TOP);
    cairo_set_source(cr, line);
    cairo_fill(cr);
    cairo_pattern_destroy(line);
}

// Makes a region pure black (transparent), with hard edges.
void clear_region(cairo_t* cr) {
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

ARTWORK(compass_face, BMP_COMPASS_FACE, FACE_W, FACE_H, ArtKind::picture) {
    draw_front(cr);

    // The still picture in the window: both strips at heading north.
    cairo_save(cr);
    cairo_rectangle(cr, WINDOW_LEFT, WINDOW_TOP, WINDOW_RIGHT + 1 - WINDOW_LEFT, WINDOW_BOTTOM + 1 - WINDOW_TOP);
    cairo_clip(cr);
    artgen::set_colour(cr, STRIP_BACK);
    cairo_paint(cr);
    const double strip_left = WINDOW_RIGHT + 1 - STRIP_W;  // value 360: the right end at the window's right edge
    cairo_save(cr);
    cairo_translate(cr, strip_left, HEADING_STRIP_TOP);
    draw_strip(cr, Layout::heading);
    cairo_restore(cr);
    cairo_translate(cr, strip_left, COURSE_STRIP_TOP);
    draw_strip(cr, Layout::course);
    cairo_restore(cr);
    // The gap between the strips.
    cairo_rectangle(cr, WINDOW_LEFT, HEADING_STRIP_TOP + WINDOW_H, WINDOW_RIGHT + 1 - WINDOW_LEFT,
                    COURSE_STRIP_TOP - HEADING_STRIP_TOP - WINDOW_H);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.055);
    cairo_fill(cr);

    // The cream glass tube, lit from above, with the two centre marks.
    tube_path(cr);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, 214, 0, 252);
    cairo_pattern_add_color_stop_rgb(glass, 0.0, 0.98, 0.96, 0.88);
    cairo_pattern_add_color_stop_rgb(glass, 0.5, artgen::CREAM.r, artgen::CREAM.g, artgen::CREAM.b);
    cairo_pattern_add_color_stop_rgb(glass, 1.0, 0.72, 0.68, 0.56);
    cairo_set_source(cr, glass);
    cairo_stroke(cr);
    cairo_pattern_destroy(glass);
    cairo_set_source_rgb(cr, 0.25, 0.22, 0.18);
    for (double x : {137.0, 167.0}) {
        const double dx = x - TUBE_CX;
        const double mid = TUBE_MID_Y - TUBE_RADIUS + std::sqrt(TUBE_RADIUS * TUBE_RADIUS - dx * dx);
        cairo_rectangle(cr, x, mid - TUBE_HALF_WIDTH + 1, 1.5, 2 * TUBE_HALF_WIDTH - 2);
    }
    cairo_fill(cr);

    draw_lubber_line(cr);
}

ARTWORK(compass_heading_strip, BMP_COMPASS_HEADING_STRIP, STRIP_W, STRIP_H, ArtKind::picture) {
    draw_strip(cr, Layout::heading);
}

ARTWORK(compass_heading_mask, BMP_COMPASS_HEADING_MASK, WINDOW_W, WINDOW_H, ArtKind::mask) {
    cairo_paint(cr);
}

ARTWORK(compass_course_strip, BMP_COMPASS_COURSE_STRIP, STRIP_W, STRIP_H, ArtKind::picture) {
    draw_strip(cr, Layout::course);
}

ARTWORK(compass_course_mask, BMP_COMPASS_COURSE_MASK, WINDOW_W, WINDOW_H, ArtKind::mask) {
    cairo_paint(cr);
}

ARTWORK(compass_frame, BMP_COMPASS_FRAME, FACE_W, FACE_H, ArtKind::picture) {
    draw_front(cr);
    cairo_rectangle(cr, WINDOW_LEFT, WINDOW_TOP, WINDOW_RIGHT + 1 - WINDOW_LEFT, WINDOW_BOTTOM + 1 - WINDOW_TOP);
    clear_region(cr);
    // The tube's opening reaches one pixel further right and down than the
    // face's tube, so none of the frame's paint lies on the glass.
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    for (double shift : {0.0, 1.0}) {
        cairo_save(cr);
        cairo_translate(cr, shift, shift);
        tube_path(cr);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    draw_lubber_line(cr);
}

ARTWORK(compass_slip_needle, BMP_COMPASS_SLIP_NEEDLE, 250, 32, ArtKind::picture) {
    constexpr double cx = 234, cy = 16, r = 13;
    cairo_pattern_t* ball = cairo_pattern_create_radial(cx - 4, cy - 5, 1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(ball, 0.0, 0.62, 0.62, 0.64);
    cairo_pattern_add_color_stop_rgb(ball, 0.35, 0.22, 0.22, 0.24);
    cairo_pattern_add_color_stop_rgb(ball, 1.0, 0.05, 0.05, 0.06);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, ball);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
}
