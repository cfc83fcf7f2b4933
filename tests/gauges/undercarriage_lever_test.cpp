// UnderCarriage_Lever through the workbench: the icon follows token 331 via
// gear_icon_cb, clicks in the child box send the gear toggle, and the
// aircraft loop closes the circle.
#include <cmath>

#include "gauge_fixture.h"
#include "host/aircraft.h"

namespace {

constexpr char kGauge[] = "UnderCarriage_Lever";
constexpr size_t kButtons = 1;  // the icon, after the background

// The picture drawn equals the given bitmap with pure black left transparent.
void expect_shows_bitmap(zephel::Host& host, const zephel::Image& picture, uint32_t id) {
    const zephel::Texture& t = host.bitmaps().texture(id);
    ASSERT_EQ(picture.width, t.width);
    ASSERT_EQ(picture.height, t.height);
    EXPECT_TRUE(picture.pixels == t.keyed) << "picture differs from bitmap " << std::hex << id;
}

TEST_P(GaugeTest, UnderCarriageIconSwitchesAtFullyDown) {
    set_token(331, std::nextafter(16383.0, 0.0));
    tick();
    EXPECT_EQ(state(kGauge, kButtons).picture, 0);
    ASSERT_EQ(state(kGauge, kButtons).axes.size(), 1u);
    EXPECT_TRUE(state(kGauge, kButtons).axes[0].called_back);
    expect_shows_bitmap(host(), render(kGauge), 0x1503);

    set_token(331, 16383.0);
    tick();
    EXPECT_EQ(state(kGauge, kButtons).picture, 1);
    EXPECT_EQ(state(kGauge, kButtons).axes[0].value, 1.0);
    expect_shows_bitmap(host(), render(kGauge), 0x1504);
}

TEST_P(GaugeTest, UnderCarriageClickBoxReachesPastThePicture) {
    struct Case {
        int x, y;
        bool sends;
    };
    const Case cases[] = {
        {10, 10, true},   {189, 189, true},  {75, 75, true},   {149, 189, true},
        {9, 50, false},   {50, 9, false},    {190, 50, false}, {50, 190, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        const size_t before = key_events(0x10022).size();
        const zephel::PressResult r = click(kGauge, c.x, c.y);
        EXPECT_EQ(r.called, c.sends);
        EXPECT_EQ(key_events(0x10022).size(), before + (c.sends ? 1 : 0));
        if (c.sends) {
            EXPECT_EQ(r.result, 1);
            EXPECT_EQ(key_events(0x10022).back().parameter, 0u);
        }
    }
    // A right click calls nothing.
    EXPECT_FALSE(click(kGauge, 50, 50, zephel::MouseButton::Right).called);
    EXPECT_EQ(key_events(0x10022).size(), 4u);
}

TEST_P(GaugeTest, UnderCarriageFailureKey20HasNoEffect) {
    set_failure(20);
    set_token(331, 0.0);
    tick();
    set_token(331, 16383.0);
    tick();
    EXPECT_FALSE(state(kGauge, kButtons).frozen);
    EXPECT_EQ(state(kGauge, kButtons).picture, 1);
}

TEST_P(GaugeTest, UnderCarriageRaisedAndLoweredThroughTheAircraftLoop) {
    zephel::Aircraft aircraft(host());  // gear down at the start
    aircraft.tick();
    EXPECT_EQ(state(kGauge, kButtons).picture, 1);

    click(kGauge, 60, 60);  // gear up: the handle moves, the gear travels
    aircraft.tick();
    EXPECT_FALSE(aircraft.gear_handle_down());
    EXPECT_EQ(state(kGauge, kButtons).picture, 0);
    for (int i = 0; i < 5 * 18; ++i) aircraft.tick();
    EXPECT_EQ(host().token(331), 0.0);

    click(kGauge, 60, 60);  // gear down: the second picture only once fully down
    aircraft.tick();
    EXPECT_EQ(state(kGauge, kButtons).picture, 0);
    EXPECT_GT(host().token(331), 0.0);
    for (int i = 0; i < 5 * 18; ++i) aircraft.tick();
    EXPECT_EQ(host().token(331), 16383.0);
    EXPECT_EQ(state(kGauge, kButtons).picture, 1);
    EXPECT_EQ(key_events(0x10022).size(), 2u);
}

TEST_P(GaugeTest, UnderCarriageGoldenPictures) {
    set_token(331, 0.0);
    tick();
    expect_golden("UnderCarriage_Lever-up", render(kGauge));
    set_token(331, 16383.0);
    tick();
    expect_golden("UnderCarriage_Lever-down", render(kGauge));
}

}  // namespace
