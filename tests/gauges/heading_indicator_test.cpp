// "Heading Indicator" through the workbench: the card turns counter-clockwise
// by exactly the heading, continuously through north, with no turn limit, and
// brings the card's mark for the heading to the top, under the aircraft's nose.
#include <cmath>

#include "gauge_fixture.h"
#include "needle_pictures.h"

namespace {

using namespace needle_pictures;

constexpr char kGauge[] = "Heading Indicator";
constexpr uint32_t kHeading = 84;
constexpr size_t kCard = 1;
constexpr Pivot kPivot{155, 149};
constexpr uint32_t kCardBitmap = 0x2003, kCover = 0x2006;

class HeadingIndicatorTest : public GaugeTest {
protected:
    // One tick is enough: the card has no turn limit.
    const zephel::ElementState& show(double heading) {
        set_token(kHeading, heading);
        tick();
        return card();
    }
    const zephel::ElementState& card() { return state(kGauge, kCard); }
};

TEST_P(HeadingIndicatorTest, NorthPointsThreeSixtyLessTheHeading) {
    const struct {
        double heading, north;
    } cases[] = {
        {0.0, 0.0},   {45.0, 315.0}, {90.0, 270.0}, {180.0, 180.0},
        {270.0, 90.0}, {359.9, 0.1},  {0.1, 359.9},  {360.0, 0.0},
    };
    for (const auto& c : cases) EXPECT_LE(angle_between(show(c.heading).angle, c.north), 1e-6) << c.heading;
}

TEST_P(HeadingIndicatorTest, TurnsSmoothlyThroughNorth) {
    // 350 up to 359.9, then 0 up to 10, a tenth of a degree a tick: the card
    // moves a tenth counter-clockwise every time, across north included.
    double last = show(350.0).angle;
    for (int i = 1; i <= 200; ++i) {
        const double heading = std::fmod(350.0 + 0.1 * i, 360.0);
        const double step = std::remainder(show(heading).angle - last, 360.0);
        EXPECT_NEAR(step, -0.1, 1e-6) << "heading " << heading;
        last = card().angle;
    }
}

TEST_P(HeadingIndicatorTest, JumpIsTakenInOneTick) {
    EXPECT_EQ(gauge(kGauge).elements[kCard].turn_limit, 0);
    show(10.0);
    show(200.0);
    EXPECT_EQ(card().angle, card().target_angle);
    EXPECT_NEAR(card().angle, 160.0, 1e-6);
}

TEST_P(HeadingIndicatorTest, CardInItsPaintedOrientationAtTwoSeventy) {
    // North at the right: the window shows the card bitmap pixel for pixel.
    const zephel::Bitmap& card_bitmap = host().bitmaps().bitmap(kCardBitmap);
    show(270.0);
    const zephel::Image picture = render(kGauge);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const double r = std::hypot(x + 0.5 - kPivot.x, y + 0.5 - kPivot.y);
            if (r > 72 && r < 121) ASSERT_EQ(rgb(picture, x, y), rgb(card_bitmap, x, y)) << x << "," << y;
        }
}

TEST_P(HeadingIndicatorTest, MarkForTheHeadingStandsAtTheTop) {
    for (double heading : {0.0, 45.0, 90.0, 135.0, 180.0, 270.0, 355.0}) {
        show(heading);
        const zephel::Image picture = render(kGauge);
        // Straight above the pivot a 5-degree mark, a longer one at every ten.
        EXPECT_TRUE(cream_near(picture, kPivot, 117, 0.0)) << heading;
        EXPECT_EQ(cream_near(picture, kPivot, 109, 0.0), std::fmod(heading, 10.0) == 0.0) << heading;
    }
    // Halfway between two marks the top is clear.
    show(2.5);
    EXPECT_FALSE(cream_near(render(kGauge), kPivot, 117, 0.0));
    // The letters: N at heading 0, its diagonal through the middle; O (east)
    // at heading 90, known by its hole.
    show(0.0);
    EXPECT_TRUE(cream_near(render(kGauge), kPivot, 93, 0.0));
    show(90.0);
    const zephel::Image east = render(kGauge);
    EXPECT_FALSE(cream_near(east, kPivot, 93, 0.0));
    EXPECT_TRUE(cream_along(east, kPivot, 0.0, 80, 92));
}

TEST_P(HeadingIndicatorTest, CoverKeepsTheAircraftSymbolOverTheCard) {
    const zephel::Bitmap& cover = host().bitmaps().bitmap(kCover);
    for (double heading : {0.0, 123.0, 250.0}) {
        show(heading);
        const zephel::Image picture = render(kGauge);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (std::hypot(x + 0.5 - kPivot.x, y + 0.5 - kPivot.y) < 68)
                    ASSERT_EQ(rgb(picture, x, y), rgb(cover, x, y)) << x << "," << y << " at " << heading;
    }
}

TEST_P(HeadingIndicatorTest, Picture) {
    show(45.0);
    expect_golden("Heading_Indicator", render(kGauge));
}

INSTANTIATE_TEST_SUITE_P(Backends, HeadingIndicatorTest, ::testing::ValuesIn(gauge_test_backends()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
