// Pictures of the automatic slat control and the undercarriage lever.
#include "artwork.h"
#include "drawing.h"
#include "gauges/bitmap_ids.h"

using artgen::ArtKind;

// The slat control draws nothing: all three pictures are wholly transparent.
ARTWORK(autoslat_background, BMP_AUTOSLAT_BACKGROUND, 42, 54, ArtKind::slat_picture) {}
ARTWORK(autoslat_icon_fast, BMP_AUTOSLAT_ICON, 42, 54, ArtKind::slat_picture) {}
ARTWORK(autoslat_icon_slow, BMP_AUTOSLAT_ICON + 1, 42, 54, ArtKind::slat_picture) {}

// The lever's background only gives the gauge its 150 x 150 coordinate space.
ARTWORK(gear_background, BMP_GEAR_BACKGROUND, 150, 150, ArtKind::picture) {}

namespace {

// Buttons of the lever pictures: a 50-pixel disc on a 94-pixel shaft.
constexpr double BUTTON_WIDTH = 94, BUTTON_DISC = 50, SHAFT_OFFSET = 19, SHAFT_ROWS = 13;
constexpr double UPPER_TOP = 10, LOWER_TOP = 90;

void lever_button(cairo_t* cr, double left, double top, const char* label) {
    artgen::draw_push_button(cr, left, top, BUTTON_WIDTH, BUTTON_DISC, top + SHAFT_OFFSET, SHAFT_ROWS, label);
}

}  // namespace

// Gear up (or travelling): Ein pushed right, Aus pulled left with its rod showing.
ARTWORK(gear_icon_up, BMP_GEAR_ICON, 150, 150, ArtKind::picture) {
    artgen::draw_rod(cr, 80, 128, 106, 123);
    lever_button(cr, 43, UPPER_TOP, "Ein");
    lever_button(cr, 2, LOWER_TOP, "Aus");
}

// Gear down: the pair reversed.
ARTWORK(gear_icon_down, BMP_GEAR_ICON_DOWN, 150, 150, ArtKind::picture) {
    artgen::draw_rod(cr, 80, 128, 26, 43);
    lever_button(cr, 3, UPPER_TOP, "Ein");
    lever_button(cr, 42, LOWER_TOP, "Aus");
}
