// Airspeed_Indicator through the workbench: where the needle stands for the
// knots it is fed, that the km/h scale painted on the dial agrees with it,
// and how fast it may turn.
#include <cmath>

#include "gauge_fixture.h"
#include "needle_pictures.h"

namespace {

using namespace needle_pictures;

constexpr char kGauge[] = "Airspeed_Indicator";
constexpr uint32_t kKnots = 61;
constexpr size_t kNeedle = 1;
constexpr Pivot kPivot{150, 150};
constexpr uint32_t kDial = 0x1700;

class AirspeedTest : public GaugeTest {
protected:
    const zephel::ElementState& settle(double knots) { return settle_needle(kGauge, kNeedle, kKnots, knots); }
    const zephel::ElementState& needle() { return state(kGauge, kNeedle); }
};

struct Case {
    double value;
    double degrees;
};

TEST_P(AirspeedTest, NeedleStandsWhereTheTableSendsItClockwiseOverTheTop) {
    const Case cases[] = {
        {0.0, 178.35},   {0.5, 178.35},   {1.0, 178.35},    // on the rest bar
        {-20.0, 178.35},                                    // below the table: still the rest bar
        {27.5, 184.72},                                     // halfway to the 100 km/h mark
        {54.0, 191.09},                                     // 100 km/h
        {97.19, 231.34},                                    // 180 km/h, the slat threshold
        {216.0, 342.06}, {270.0, 32.38},                    // past straight up, still rising
        {405.0, 158.20}, {406.0, 158.20}, {500.0, 158.20},  // the 750 km/h line and beyond
    };
    for (const Case& c : cases) EXPECT_NEAR(settle(c.value).angle, c.degrees, 0.01) << c.value << " kt";
}

TEST_P(AirspeedTest, NumberedKmhMarksLieWhereTheNeedlePoints) {
    const zephel::Bitmap& dial = host().bitmaps().bitmap(kDial);
    // Only the numbered marks and the 750 line reach in to this radius.
    const std::vector<double> marks = marks_on_circle(dial, kPivot, 105);
    ASSERT_EQ(marks.size(), 8u);
    const Case scale[] = {{100, 191.09}, {200, 241.41}, {300, 291.73}, {400, 342.05},
                          {500, 32.37},  {600, 82.69},  {700, 133.01}, {750, 158.17}};
    for (const Case& c : scale) {
        const double angle = settle(c.value / 1.852).angle;
        EXPECT_NEAR(angle, c.degrees, 0.02) << c.value << " km/h";
        EXPECT_LE(angle_between(*nearest_mark(marks, angle), angle), 1.0) << c.value << " km/h";
    }
}

TEST_P(AirspeedTest, NeedleDrawnAtAValueReachesItsMark) {
    const zephel::Bitmap& dial = host().bitmaps().bitmap(kDial);
    // 180 km/h falls on a short 10 km/h mark, the others on numbered ones.
    for (double kmh : {100.0, 180.0, 400.0, 600.0, 750.0}) {
        const double angle = settle(kmh / 1.852).angle;
        const auto mark = cream_along(dial, kPivot, angle, 95, 124);
        ASSERT_TRUE(mark) << "no mark on the needle's line at " << kmh << " km/h";
        const zephel::Image picture = render(kGauge);
        EXPECT_TRUE(needle_along(picture, dial, kPivot, angle, 20, mark->first - 2)) << kmh << " km/h";
        // The needle ends on the scale: the face beyond the marks stays dark.
        EXPECT_FALSE(cream_near(picture, kPivot, 126, angle)) << kmh << " km/h";
    }
}

TEST_P(AirspeedTest, TurnsAtMostSixDegreesATickTheLongWayRound) {
    EXPECT_EQ(gauge(kGauge).elements[kNeedle].turn_limit, 6);
    settle(54.0);
    set_token(kKnots, 405.0);
    double last = needle().angle;
    int ticks = 0;
    do {
        tick();
        ++ticks;
        const double step = std::remainder(needle().angle - last, 360.0);
        EXPECT_GT(step, 0.0) << "tick " << ticks << ": clockwise, over the top";
        EXPECT_LE(step, 6.0 + 1e-9) << "tick " << ticks;
        last = needle().angle;
    } while (needle().angle != needle().target_angle && ticks < 100);
    EXPECT_EQ(ticks, 55);  // 327.1 degrees at 6 a tick
    EXPECT_NEAR(needle().angle, 158.20, 0.01);
}

TEST_P(AirspeedTest, Picture) {
    settle(97.19);  // 180 km/h
    expect_golden(kGauge, render(kGauge));
}

INSTANTIATE_TEST_SUITE_P(Backends, AirspeedTest, ::testing::ValuesIn(gauge_test_backends()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
