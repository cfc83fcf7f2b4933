// Animated GIF from a stream of opaque frames, through giflib.
//
// One global palette is learnt from the first frame (its exact colours when
// there are at most 256, otherwise a median cut), and every later frame is
// mapped to its nearest colours and stored as the rectangle that changed,
// so a panel where one needle moves costs a few hundred bytes a frame.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "output_file.h"

namespace zephel::cli {

class GifAnimation {
public:
    // Frames are width x height pixels of 0xAARRGGBB words (Cairo's ARGB32),
    // shown for `delay_cs` hundredths of a second each; the animation loops.
    GifAnimation(OutputFile& out, int width, int height, int delay_cs);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    void add_frame(const uint32_t* pixels, int stride_pixels);
    // Writes the trailer; the caller then commits the output file.
    void finish();
    int frames() const { return frames_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int frames_ = 0;
};

}  // namespace zephel::cli
