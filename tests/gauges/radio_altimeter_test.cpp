// Radio_Altimeter through the workbench: the needle's directions over the
// 0..750 scale, that the painted marks agree with them, that the needle
// sweeps over the top and never across the legend below, and that the cover
// drawn after it hides its inner end.
#include <cmath>

#include "gauge_fixture.h"
#include "needle_pictures.h"

namespace {

using namespace needle_pictures;

constexpr char kGauge[] = "Radio_Altimeter";
constexpr uint32_t kHeight = 614;
constexpr size_t kNeedle = 1;
constexpr Pivot kPivot{150, 150};
constexpr uint32_t kFace = 0x1800, kNeedleBitmap = 0x1803, kCover = 0x1806;

class RadioAltimeterTest : public GaugeTest {
protected:
    const zephel::ElementState& settle(double metres) { return settle_needle(kGauge, kNeedle, kHeight, metres); }
    const zephel::ElementState& needle() { return state(kGauge, kNeedle); }
};

struct Case {
    double value;
    double degrees;
};

TEST_P(RadioAltimeterTest, NeedleStandsWhereTheTableSendsIt) {
    const Case cases[] = {
        {0.0, 251.40},   {0.05, 251.40}, {0.1, 251.40},     // the 0 mark
        {-30.0, 251.40},                                    // below the table: still 0
        {250.0, 323.78}, {375.0, 359.98},                   // 375 straight up
        {375.05, 359.996},                                  // halfway from 0.1: up, not down
        {500.0, 36.18},
        {750.0, 108.59}, {751.0, 108.59}, {2000.0, 108.59},  // the 750 mark and beyond
    };
    for (const Case& c : cases) EXPECT_NEAR(settle(c.value).angle, c.degrees, 0.01) << c.value;
}

TEST_P(RadioAltimeterTest, MarksEveryFiftyLieWhereTheNeedlePoints) {
    const zephel::Bitmap& face = host().bitmaps().bitmap(kFace);
    const std::vector<double> marks = marks_on_circle(face, kPivot, 112);
    ASSERT_EQ(marks.size(), 16u);  // 0 to 750 in fifties
    const std::vector<double> thick = marks_on_circle(face, kPivot, 102);
    ASSERT_EQ(thick.size(), 4u);   // 0, 250, 500, 750
    for (int metres = 0; metres <= 750; metres += 50) {
        const double angle = settle(metres).angle;
        EXPECT_LE(angle_between(*nearest_mark(marks, angle), angle), 1.0) << metres;
        if (metres % 250 == 0) EXPECT_LE(angle_between(*nearest_mark(thick, angle), angle), 1.0) << metres;
    }
}

TEST_P(RadioAltimeterTest, NeedleDrawnAtAValueReachesItsMark) {
    const zephel::Bitmap& face = host().bitmaps().bitmap(kFace);
    for (double metres : {0.0, 150.0, 250.0, 500.0, 750.0}) {
        const double angle = settle(metres).angle;
        const auto mark = cream_along(face, kPivot, angle, 95, 119);
        ASSERT_TRUE(mark) << "no mark on the needle's line at " << metres;
        const zephel::Image picture = render(kGauge);
        EXPECT_TRUE(needle_along(picture, face, kPivot, angle, 25, mark->first - 2)) << metres;
    }
}

TEST_P(RadioAltimeterTest, CoverHidesTheNeedlesInnerEnd) {
    // The needle's bar starts 9 pixels out from its pivot, under the cap.
    const zephel::Bitmap& bar = host().bitmaps().bitmap(kNeedleBitmap);
    ASSERT_NE(bar.rgb(12, 7), 0u);
    const zephel::Bitmap& cover = host().bitmaps().bitmap(kCover);
    for (double metres : {0.0, 200.0, 375.0, 600.0, 750.0}) {
        const double angle = settle(metres).angle;
        const zephel::Image picture = render(kGauge);
        for (int y = 130; y <= 170; ++y)
            for (int x = 130; x <= 170; ++x)
                if (std::hypot(x + 0.5 - kPivot.x, y + 0.5 - kPivot.y) < 19)
                    ASSERT_EQ(rgb(picture, x, y), rgb(cover, x, y)) << "cap pixel " << x << "," << y << " at " << metres;
        // Just outside the cap the needle shows.
        EXPECT_TRUE(cream_near(picture, kPivot, 26, angle)) << metres;
    }
}

TEST_P(RadioAltimeterTest, TurnsAtMostSixDegreesATickOverTheTopBothWays) {
    EXPECT_EQ(gauge(kGauge).elements[kNeedle].turn_limit, 6);
    struct Sweep {
        double from, to;
        int sign;   // +1 clockwise
        int ticks;  // 217.18 degrees at 6 a tick
    };
    for (const Sweep& s : {Sweep{0.0, 750.0, +1, 37}, Sweep{750.0, 0.0, -1, 37}}) {
        settle(s.from);
        set_token(kHeight, s.to);
        double last = needle().angle;
        int ticks = 0;
        do {
            tick();
            ++ticks;
            const double step = std::remainder(needle().angle - last, 360.0) * s.sign;
            EXPECT_GT(step, 0.0) << "tick " << ticks << " from " << s.from;
            EXPECT_LE(step, 6.0 + 1e-9) << "tick " << ticks << " from " << s.from;
            // Never across the lower part of the dial, where the legend stands.
            EXPECT_FALSE(needle().angle > 108.6 && needle().angle < 251.4) << needle().angle;
            last = needle().angle;
        } while (needle().angle != needle().target_angle && ticks < 100);
        EXPECT_EQ(ticks, s.ticks) << "from " << s.from;
    }
}

TEST_P(RadioAltimeterTest, Picture) {
    settle(120.0);
    expect_golden(kGauge, render(kGauge));
}

INSTANTIATE_TEST_SUITE_P(Backends, RadioAltimeterTest, ::testing::ValuesIn(gauge_test_backends()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
