// AutoSlat_Control through the workbench: one slat event per evaluation,
// logged with its tick, and nothing drawn.
#include <cmath>

#include "gauge_fixture.h"
#include "host/aircraft.h"

namespace {

constexpr char kGauge[] = "AutoSlat_Control";

TEST_P(GaugeTest, AutoSlatSendsOneEventEveryTick) {
    host().set_panel({kGauge});
    set_token(61, 97.19);
    tick(3);
    set_token(61, std::nextafter(97.19, 1000.0));
    tick();
    const std::vector<zephel::KeyEvent> expected = {
        {0x10210, 1, 1}, {0x10210, 1, 2}, {0x10210, 1, 3}, {0x10211, 0, 4}};
    EXPECT_EQ(key_events(), expected);
    EXPECT_EQ(state(kGauge, 1).picture, 0);
}

TEST_P(GaugeTest, AutoSlatSilentOffThePanel) {
    host().set_panel({"UnderCarriage_Lever"});
    set_token(61, 50.0);
    tick(5);
    EXPECT_TRUE(key_events().empty());
}

TEST_P(GaugeTest, AutoSlatAircraftFollowsTheSlatEvents) {
    zephel::Aircraft aircraft(host());
    set_token(61, 60.0);
    aircraft.tick();
    aircraft.tick();  // reads the first tick's event
    EXPECT_TRUE(aircraft.slats_deployed());
    set_token(61, 200.0);
    aircraft.tick();
    aircraft.tick();
    EXPECT_FALSE(aircraft.slats_deployed());
    EXPECT_EQ(aircraft.slat_deploy_events(), 2u);
    EXPECT_EQ(aircraft.slat_retract_events(), 1u);
}

TEST_P(GaugeTest, AutoSlatDrawsNothing) {
    for (double knots : {50.0, 200.0}) {
        set_token(61, knots);
        tick();
        const zephel::Image picture = render(kGauge);
        ASSERT_EQ(picture.width, 42);
        ASSERT_EQ(picture.height, 54);
        for (uint32_t p : picture.pixels) ASSERT_EQ(p, 0u);
    }
}

}  // namespace
