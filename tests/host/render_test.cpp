// Pixel tests of drawing on synthetic gauges: transparency, window masks,
// needle turning, sprite scaling and turning, bilinear against nearest.
#include <gtest/gtest.h>

#include "synthetic.h"

namespace {

using zephel::Rgba;
constexpr Rgba kGrey{0x30, 0x30, 0x30, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

TEST(Render, PureBlackShowsWhatLiesBeneath) {
    ELEMENT_STATIC_IMAGE under{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_STATIC_IMAGE over{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 2, {0, 0}, 0x01)};
    synthetic::Module m({&under.header, &over.header});
    m.bitmaps[1] = synthetic::bmp(20, 20, [](int x, int) { return x < 10 ? 0x000000u : 0xFF0000u; });
    m.bitmaps[2] = synthetic::bmp(20, 20, [](int, int y) { return y < 10 ? 0x000000u : 0x00FF00u; });
    m.host().tick();
    const zephel::Image img = m.render();
    EXPECT_EQ(img.at(2, 2), Rgba{}) << "black over black: nothing drawn";
    EXPECT_EQ(img.at(15, 2), kRed);
    EXPECT_EQ(img.at(2, 15), kGreen);
    EXPECT_EQ(img.at(15, 15), kGreen);
}

TEST(Render, MovingImageOnlyInsideItsWindowMask) {
    ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_MOVING_IMAGE strip{.header = synthetic::header(ELEMENT_KIND_MOVING_IMAGE, 2, {5, 5}, 0x03),
                               .source_x = {.token = 0}, .min_x = 0, .max_x = 0, .source_y = {.token = 0},
                               .min_y = 0, .max_y = 0, .callback_x = nullptr, .callback_y = nullptr};
    synthetic::Module m({&face.header, &strip.header});
    m.bitmaps[1] = synthetic::solid(30, 30, 0x303030);
    m.bitmaps[2] = synthetic::solid(20, 10, 0x0000FF);                                           // the picture
    m.bitmaps[3] = synthetic::bmp(10, 10, [](int x, int) { return x < 5 ? 0x010101u : 0u; });  // its window
    m.host().tick();
    const zephel::Image img = m.render();
    EXPECT_EQ(img.at(6, 8), kBlue);
    EXPECT_EQ(img.at(11, 8), kGrey) << "black part of the mask";
    EXPECT_EQ(img.at(20, 8), kGrey) << "beyond the mask, though the picture reaches there";
    EXPECT_EQ(img.at(6, 16), kGrey);
}

TEST(Render, NeedleTurnsAboutItsPivot) {
    NONLINEARITY table[] = {{{20, 0}, 0.0}, {{20, 40}, 1.0}};  // up at 0, down at 1
    ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_NEEDLE needle{.header = synthetic::header(ELEMENT_KIND_NEEDLE, 2, {20, 20}, 0x03, {2, 1}),
                          .source = {.token = 9}, .nonlinearity = table, .entry_count = 2, .turn_limit = 0};
    synthetic::Module m({&face.header, &needle.header});
    m.bitmaps[1] = synthetic::solid(40, 40, 0x303030);
    // 14 x 3, pivot (2, 1): a white bar on the middle row from the pivot rightwards.
    m.bitmaps[2] = synthetic::bmp(14, 3, [](int x, int y) { return y == 1 && x >= 2 ? 0xFFFFFFu : 0u; });
    const struct {
        double value;
        int x, y;  // a pixel on the needle, 8 pixels from the pivot
        int off_x, off_y;  // one it does not cover
    } cases[] = {{0.0, 20, 12, 28, 20}, {0.5, 28, 20, 20, 28}, {1.0, 20, 28, 12, 20}};
    for (const auto& c : cases) {
        m.host().set_token(9, c.value);
        m.host().tick();
        const zephel::Image img = m.render();
        EXPECT_EQ(img.at(c.x, c.y), kWhite) << c.value;
        EXPECT_EQ(img.at(c.off_x, c.off_y), kGrey) << c.value;
    }
}

TEST(Render, SpriteScaledTurnedAndMasked) {
    ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_SPRITE card{.header = synthetic::header(ELEMENT_KIND_SPRITE, 2, {0, 0}, 0x01, {30, 30}),
                        .source_x = {.token = 0}, .scale_x = 0.0, .source_y = {.token = 78}, .scale_y = 1.0,
                        .source_rotation = {.token = 80}, .scale_rotation = 1.0, .texture_scale_x = 0.5f,
                        .texture_scale_y = 0.5f, .callback_x = nullptr, .callback_y = nullptr,
                        .callback_rotation = nullptr};
    synthetic::Module m({&face.header, &card.header});
    m.bitmaps[1] = synthetic::solid(60, 60, 0x303030);
    // 20 x 20 texture, red above its middle, blue below: drawn 40 x 40 around (30, 30).
    m.bitmaps[2] = synthetic::bmp(20, 20, [](int, int y) { return y < 10 ? 0xFF0000u : 0x0000FFu; });
    // Window: everything but the right-most ten columns.
    m.bitmaps[3] = synthetic::bmp(60, 60, [](int x, int) { return x < 50 ? 0x010101u : 0u; });

    m.host().tick();
    zephel::Image img = m.render();
    EXPECT_EQ(img.at(30, 12), kRed);
    EXPECT_EQ(img.at(30, 48), kBlue);
    EXPECT_EQ(img.at(30, 8), kGrey) << "texture is 40 pixels tall";
    EXPECT_EQ(img.at(12, 30), kBlue);

    m.host().set_token(80, 90.0);  // a quarter turn clockwise: red now on the right
    m.host().tick();
    img = m.render();
    EXPECT_EQ(img.at(45, 30), kRed);
    EXPECT_EQ(img.at(15, 30), kBlue);
    EXPECT_EQ(img.at(55, 30), kGrey) << "outside the window";

    m.host().set_token(80, 0.0);
    m.host().set_token(78, 5.0);  // shifted down 5: the red/blue line moves to row 35
    m.host().tick();
    img = m.render();
    EXPECT_EQ(img.at(30, 33), kRed);
    EXPECT_EQ(img.at(30, 36), kBlue);
}

TEST(Render, BilinearBlendsFractionalPositionsNearestDoesNot) {
    for (uint32_t flags : {0x01u, 0x81u}) {
        ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
        ELEMENT_SLIDER slider{.header = synthetic::header(ELEMENT_KIND_SLIDER, 2, {10, 10}, flags),
                              .source_x = {.token = 7}, .scale_x = 0.5, .source_y = {.token = 0}, .scale_y = 0.0};
        synthetic::Module m({&face.header, &slider.header});
        m.bitmaps[1] = synthetic::solid(30, 30, 0x000040);
        m.bitmaps[2] = synthetic::solid(4, 4, 0xFFFFFF);
        m.host().set_token(7, 1.0);
        m.host().tick();
        const zephel::Image img = m.render();
        const Rgba edge = img.at(10, 12);
        if (flags & 0x80) {
            EXPECT_GT(edge.r, 100);
            EXPECT_LT(edge.r, 160);
            EXPECT_EQ(img.at(12, 12), kWhite);
        } else {
            EXPECT_TRUE(edge == kWhite || edge == (Rgba{0, 0, 0x40, 255})) << int(edge.r);
        }
    }
}

}  // namespace
