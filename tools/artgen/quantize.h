// Turns a drawn RGBA picture into the module's 8-bit bitmaps, where pure
// black is the transparent colour.
//
// A pixel is transparent when its coverage is under one half; it becomes pure
// black (palette index 0). Every other pixel keeps its own colour, taken back
// out of Cairo's premultiplied form, and is matched only against palette
// entries that are not pure black: a drawn pixel can never turn transparent,
// and a transparent one can never pick up a stray colour.
#pragma once

#include <cstdint>

#include "bmp_writer.h"

namespace artgen {

enum class PaletteStyle {
    standard,           // index 0 is pure black
    dark_grey_index_0,  // index 0 a dark grey, pure black at index 1
};

// `argb` is Cairo's ARGB32 data (premultiplied, native-endian words).
IndexedImage quantize(const uint32_t* argb, int width, int height, int stride_bytes,
                      PaletteStyle style = PaletteStyle::standard);

// Two colours only: RGB (1, 1, 1) where a pixel is at least half covered,
// pure black elsewhere.
IndexedImage quantize_mask(const uint32_t* argb, int width, int height, int stride_bytes);

}  // namespace artgen
