// Flap_Lever and GearFlap_Placard through the workbench: the two buttons
// slide in opposite directions with token 329, the fixed click areas send the
// two flap events, the placard's click area calls nothing, and the aircraft
// loop moves the flaps notch by notch.
#include <cmath>
#include <optional>

#include "gauge_fixture.h"
#include "host/aircraft.h"

namespace {

constexpr char kFlaps[] = "Flap_Lever";
constexpr char kPlacard[] = "GearFlap_Placard";
constexpr size_t kAus = 1, kEin = 2;  // after the background, in drawing order
constexpr uint32_t kEinEvent = 0x100DF, kAusEvent = 0x100DE;

// Leftmost drawn column of the picture within rows [y0, y1], or -1.
int leftmost_drawn(const zephel::Image& picture, int y0, int y1) {
    for (int x = 0; x < picture.width; ++x)
        for (int y = y0; y <= y1; ++y)
            if (picture.pixels[static_cast<size_t>(y) * picture.width + x] >> 24) return x;
    return -1;
}

TEST_P(GaugeTest, FlapButtonsSlideOppositeWaysOnePixelPer400Units) {
    struct Case {
        double v, aus_x, ein_x;
    };
    const Case cases[] = {
        {0, 4, 44},        {8000, 24, 24},   {16000, 44, 4},
        {16383, 44.9575, 3.0425}, {-400, 3, 45}, {20000, 54, -6},
    };
    const zephel::Gauge& g = gauge(kFlaps);
    ASSERT_EQ(g.elements.size(), 3u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        set_token(329, c.v);
        tick();
        const zephel::ElementState& aus = state(kFlaps, kAus);
        const zephel::ElementState& ein = state(kFlaps, kEin);
        EXPECT_NEAR(g.elements[kAus].position_x + aus.shift_x, c.aus_x, 1e-9);
        EXPECT_NEAR(g.elements[kEin].position_x + ein.shift_x, c.ein_x, 1e-9);
        EXPECT_EQ(g.elements[kAus].position_y + aus.shift_y, 90.0);
        EXPECT_EQ(g.elements[kEin].position_y + ein.shift_y, 10.0);
        // On the picture: the shafts' left ends where the buttons stand (the
        // background's rods start further right, under the buttons' discs).
        if (c.v != 16383) {
            const zephel::Image picture = render(kFlaps);
            EXPECT_EQ(leftmost_drawn(picture, 29, 41), std::max(0, static_cast<int>(c.ein_x)));
            EXPECT_EQ(leftmost_drawn(picture, 109, 121), static_cast<int>(c.aus_x));
        }
    }
}

TEST_P(GaugeTest, FlapClickAreasAreFixedAndMeetAtY100) {
    struct Case {
        int x, y;
        std::optional<uint32_t> event;
    };
    const Case cases[] = {
        {10, 10, kEinEvent},   {189, 10, kEinEvent},  {10, 99, kEinEvent},  {189, 99, kEinEvent},
        {90, 35, kEinEvent},   // on the Ein button at v = 0
        {30, 90, kEinEvent},   {30, 99, kEinEvent},    // the Aus button's top rows
        {10, 100, kAusEvent},  {189, 100, kAusEvent}, {10, 189, kAusEvent}, {189, 189, kAusEvent},
        {30, 115, kAusEvent},  {149, 160, kAusEvent},
        {9, 50, std::nullopt}, {50, 9, std::nullopt},  {9, 120, std::nullopt}, {5, 35, std::nullopt},
        {190, 50, std::nullopt}, {190, 150, std::nullopt}, {50, 190, std::nullopt},
    };
    for (const double v : {0.0, 16383.0}) {  // the areas do not follow the buttons
        set_token(329, v);
        tick();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "v " << v << " at (" << c.x << ", " << c.y << ")");
            const size_t before = key_events().size();
            const zephel::PressResult r = click(kFlaps, c.x, c.y);
            EXPECT_EQ(r.called, c.event.has_value());
            if (!c.event) {
                EXPECT_EQ(r.row, nullptr);
                EXPECT_EQ(key_events().size(), before);
                continue;
            }
            ASSERT_NE(r.row, nullptr);
            EXPECT_EQ(r.row->cursor, 5);
            EXPECT_EQ(r.result, 1);
            ASSERT_EQ(key_events().size(), before + 1);
            EXPECT_EQ(key_events().back().event, *c.event);
            EXPECT_EQ(key_events().back().parameter, 0u);
        }
    }
}

TEST_P(GaugeTest, FlapRightClicksCallNothing) {
    for (const auto& [x, y] : {std::pair{50, 50}, std::pair{50, 150}, std::pair{189, 189}}) {
        const zephel::PressResult r = click(kFlaps, x, y, zephel::MouseButton::Right);
        EXPECT_FALSE(r.called);
    }
    EXPECT_TRUE(key_events().empty());
}

TEST_P(GaugeTest, PlacardClickAreaCallsNothing) {
    tick();
    const size_t before = key_events().size();  // the slat control sends its own on a tick
    const zephel::PressResult inside = click(kPlacard, 100, 100);
    ASSERT_NE(inside.row, nullptr);
    EXPECT_EQ(inside.row->cursor, 0);
    EXPECT_EQ(inside.row->function, 0u);
    EXPECT_FALSE(inside.called);
    for (const auto& [x, y] : {std::pair{10, 10}, std::pair{189, 189}}) EXPECT_FALSE(click(kPlacard, x, y).called);
    for (const auto& [x, y] : {std::pair{5, 100}, std::pair{100, 5}, std::pair{200, 200}, std::pair{229, 229}})
        EXPECT_EQ(click(kPlacard, x, y).row, nullptr);
    EXPECT_FALSE(click(kPlacard, 100, 100, zephel::MouseButton::Right).called);
    EXPECT_EQ(key_events().size(), before);
}

TEST_P(GaugeTest, PlacardShowsItsPictureWithOnlyTheCornersTransparent) {
    tick();
    const zephel::Image picture = render(kPlacard);
    const zephel::Texture& t = host().bitmaps().texture(0x1609);
    ASSERT_EQ(picture.width, 230);
    ASSERT_EQ(picture.height, 230);
    EXPECT_TRUE(picture.pixels == t.keyed);
    int transparent = 0;
    for (uint32_t px : picture.pixels) transparent += (px >> 24) == 0;
    EXPECT_EQ(transparent, 67);
}

// Two clicks on the lower area extend the flaps two notches; the buttons
// follow the flap position as it travels. Then the gear goes down, and the
// lever's picture changes on the tick the handle reaches 16383, not before.
TEST_P(GaugeTest, FlapsAndGearThroughTheAircraftLoop) {
    zephel::AircraftOptions options;
    options.gear_down = false;
    zephel::Aircraft aircraft(host(), options);
    aircraft.tick();
    EXPECT_EQ(aircraft.flap_notch(), 0);
    EXPECT_EQ(state(kFlaps, kAus).shift_x, 0.0);

    click(kFlaps, 60, 150);
    click(kFlaps, 60, 150);
    EXPECT_EQ(key_events(kAusEvent).size(), 2u);
    double last_shift = 0.0;
    for (int i = 0; i < 10 * 18; ++i) {
        aircraft.tick();
        const double shift = state(kFlaps, kAus).shift_x;
        EXPECT_GE(shift, last_shift) << "the flaps only extend";
        EXPECT_EQ(state(kFlaps, kEin).shift_x, -shift);
        EXPECT_DOUBLE_EQ(shift, 0.0025 * host().token(329));
        last_shift = shift;
    }
    EXPECT_EQ(aircraft.flap_notch(), 2);
    const double two_notches = 2 * 16383.0 / options.flap_notches;
    EXPECT_DOUBLE_EQ(host().token(329), two_notches);
    EXPECT_DOUBLE_EQ(state(kFlaps, kAus).shift_x, 0.0025 * two_notches);

    click("UnderCarriage_Lever", 60, 60);
    int switched_at = -1;
    for (int i = 0; i < 10 * 18; ++i) {
        aircraft.tick();
        const bool down = host().token(331) >= 16383.0;
        EXPECT_EQ(state("UnderCarriage_Lever", 1).picture, down ? 1 : 0) << "tick " << i;
        if (down && switched_at < 0) switched_at = i;
    }
    EXPECT_GT(switched_at, 0) << "the gear travels before it is down";
    EXPECT_TRUE(aircraft.gear_handle_down());
}

TEST_P(GaugeTest, FlapLeverAndPlacardGoldenPictures) {
    set_token(329, 8000);
    tick();
    expect_golden("Flap_Lever-8000", render(kFlaps));
    expect_golden("GearFlap_Placard", render(kPlacard));
}

}  // namespace
