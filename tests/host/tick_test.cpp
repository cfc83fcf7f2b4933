// The update tick on a synthetic gauge: bindings written, value callbacks
// called, slider, icon, moving-image and sprite state derived, failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "synthetic.h"

namespace {

double GAUGE_CALL icon_half_cb(ELEMENT_HEADER* e) { return reinterpret_cast<ELEMENT_ICON*>(e)->source.value / 2; }
double GAUGE_CALL strip_reverse_cb(ELEMENT_HEADER* e) {
    return 360.0 - reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e)->source_x.value;
}
double GAUGE_CALL pitch_limit_cb(ELEMENT_HEADER* e) {
    return std::clamp(reinterpret_cast<ELEMENT_SPRITE*>(e)->source_y.value, -10.0, 10.0);
}

FAILURE_RECORD slider_failures[] = {{.key = 6, .action = 1}, {.key = 20, .action = 0}, {.key = 0, .action = 0}};

struct TickModule {
    ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_SLIDER slider{.header = synthetic::header(ELEMENT_KIND_SLIDER, 2, {4, 90}, 0x83, {0, 0}, slider_failures),
                          .source_x = {.token = 329}, .scale_x = 0.0025, .source_y = {.token = 5}, .scale_y = -0.5};
    ELEMENT_ICON icon{.header = synthetic::header(ELEMENT_KIND_ICON, 10, {0, 0}, 0x03), .source = {.token = 331},
                      .icon_mode = 3, .scale = 0.0, .offset = 0, .picture_count = 3, .callback = icon_half_cb};
    ELEMENT_MOVING_IMAGE strip{.header = synthetic::header(ELEMENT_KIND_MOVING_IMAGE, 20, {76, 90}, 0x03),
                               .source_x = {.token = 84}, .min_x = 0.0, .max_x = 360.0, .source_y = {.token = 0},
                               .min_y = 0.0, .max_y = 0.0, .callback_x = strip_reverse_cb, .callback_y = nullptr};
    ELEMENT_SPRITE card{.header = synthetic::header(ELEMENT_KIND_SPRITE, 30, {0, 0}, 0x81, {100, 100}),
                        .source_x = {.token = 0}, .scale_x = 0.0, .source_y = {.token = 78}, .scale_y = 2.0,
                        .source_rotation = {.token = 80}, .scale_rotation = -1.0, .texture_scale_x = 0.75f,
                        .texture_scale_y = 0.75f, .callback_x = nullptr, .callback_y = pitch_limit_cb,
                        .callback_rotation = nullptr};
    synthetic::Module m{{&face.header, &slider.header, &icon.header, &strip.header, &card.header}};

    TickModule() {
        m.bitmaps[1] = synthetic::solid(200, 200, 0x303030);
        m.bitmaps[2] = synthetic::solid(94, 48, 0xFFFFFF);
        for (uint32_t id : {10, 11, 12}) m.bitmaps[id] = synthetic::solid(200, 200, id * 0x10);
        m.bitmaps[20] = synthetic::solid(730, 47, 0x808080);
        m.bitmaps[21] = synthetic::solid(154, 47, 0x010101);
        m.bitmaps[30] = synthetic::solid(260, 260, 0x404080);
        m.bitmaps[31] = synthetic::solid(200, 200, 0x010101);
    }
    zephel::Host& host() { return m.host(); }
};

TEST(Tick, SliderShiftsByValueTimesScale) {
    TickModule t;
    const struct {
        double flaps, shift;
    } cases[] = {{0, 0}, {8000, 20}, {16000, 40}, {16383, 40.9575}, {-400, -1}, {20000, 50}};
    for (const auto& c : cases) {
        t.host().set_token(329, c.flaps);
        t.host().tick();
        EXPECT_NEAR(t.m.state(1).shift_x, c.shift, 1e-9) << c.flaps;
        EXPECT_EQ(t.slider.source_x.value, c.flaps) << "binding's current value";
    }
    t.host().set_token(5, 3.0);
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(1).shift_y, -1.5);
}

TEST(Tick, IconPictureFromTheCallbackResult) {
    TickModule t;
    const struct {
        double token;
        int picture;
    } cases[] = {{0, 0}, {1.98, 0}, {2, 1}, {3.9, 1}, {4, 2}, {40, 2}, {-6, 0}, {std::nan(""), 0}};
    for (const auto& c : cases) {
        t.host().set_token(331, c.token);
        t.host().tick();
        const zephel::ElementState& s = t.m.state(2);
        EXPECT_EQ(s.picture, c.picture) << c.token;
        ASSERT_EQ(s.axes.size(), 1u);
        EXPECT_TRUE(s.axes[0].called_back);
        if (!std::isnan(c.token)) {
            EXPECT_EQ(s.axes[0].value, c.token / 2);
        }
    }
}

TEST(Tick, MovingImageBetweenItsEnds) {
    // 730-pixel picture behind a 154-pixel window: 576 pixels of travel.
    TickModule t;
    const struct {
        double heading, left;
    } cases[] = {{360, 0}, {0, -576}, {90, -432}, {180, -288}, {359.5, -0.8}};
    for (const auto& c : cases) {
        t.host().set_token(84, c.heading);
        t.host().tick();
        EXPECT_NEAR(t.m.state(3).shift_x, c.left, 1e-9) << c.heading;
        EXPECT_EQ(t.m.state(3).shift_y, 0.0);
        EXPECT_DOUBLE_EQ(t.m.state(3).axes.at(0).value, 360.0 - c.heading);
    }
}

TEST(Tick, SpriteShiftAndTurn) {
    TickModule t;
    t.host().set_token(78, 4.0);
    t.host().set_token(80, 30.0);
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(4).shift_y, 8.0);
    EXPECT_DOUBLE_EQ(t.m.state(4).shift_x, 0.0);
    EXPECT_DOUBLE_EQ(t.m.state(4).rotation, -30.0);
    t.host().set_token(78, 50.0);  // the callback limits it to 10
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(4).shift_y, 20.0);
}

TEST(Tick, FailureAction1FreezesAction0DoesNothing) {
    TickModule t;
    t.host().set_token(329, 8000);
    t.host().tick();
    t.host().set_failure(20, true);  // action 0
    t.host().set_token(329, 12000);
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(1).shift_x, 30.0);
    EXPECT_FALSE(t.m.state(1).frozen);

    t.host().set_failure(6, true);  // action 1: stays where it was
    t.host().set_token(329, 16000);
    t.host().tick();
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(1).shift_x, 30.0);
    EXPECT_TRUE(t.m.state(1).frozen);
    EXPECT_EQ(t.slider.source_x.value, 12000) << "a frozen element's bindings are left alone";
    EXPECT_NEAR(t.m.state(3).shift_x, -576, 1e-9) << "elements without the key go on";

    t.host().set_failure(6, false);
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(1).shift_x, 40.0);
    EXPECT_FALSE(t.m.state(1).frozen);
}

TEST(Tick, PanelSelectsTheGaugesUpdated) {
    TickModule t;
    t.host().set_panel({});
    t.host().set_token(329, 8000);
    t.host().tick();
    EXPECT_FALSE(t.m.state(1).valid);
    t.host().set_panel({"Test"});
    t.host().tick();
    EXPECT_DOUBLE_EQ(t.m.state(1).shift_x, 20.0);
    EXPECT_THROW(t.host().set_panel({"Nope"}), zephel::HostError);
}

}  // namespace
