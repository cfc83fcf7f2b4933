// The clockwise rule: directions from the pivot, clockwise segments of any
// length, stop pairs, table ends, value order, and the turn limit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/needle.h"
#include "synthetic.h"

namespace {

using zephel::NonlinearityEntry;

double travel(const std::vector<NonlinearityEntry>& table, double px, double py, double v) {
    return zephel::needle_travel(table, px, py, v).value();
}
double angle(const std::vector<NonlinearityEntry>& table, double px, double py, double v) {
    return zephel::wrap_degrees(travel(table, px, py, v));
}

TEST(NeedleDirection, ClockwiseFromStraightUp) {
    const struct {
        double x, y, degrees;
    } cases[] = {{0, -10, 0}, {10, 0, 90}, {0, 10, 180}, {-10, 0, 270}, {10, -10, 45}, {-1, -1000, 359.9427}};
    for (const auto& c : cases) EXPECT_NEAR(zephel::direction_degrees(0, 0, c.x, c.y), c.degrees, 1e-4) << c.x << "," << c.y;
}

// A dial like the airspeed indicator's: stop pair at each end, values rising,
// one segment of 327 degrees over the top.
const std::vector<NonlinearityEntry> kDial = {
    {153, 254, 0.0}, {153, 254, 1.0}, {130, 252, 54.0}, {188, 245, 405.0}, {188, 245, 406.0}};

TEST(NeedleTravel, SegmentsLongerThanHalfATurnGoClockwise) {
    EXPECT_NEAR(angle(kDial, 150, 150, 54.0), 191.09, 0.01);
    EXPECT_NEAR(angle(kDial, 150, 150, 405.0), 158.20, 0.01);
    // 54 -> 405 spans 327.1 degrees, never the 32.9 the short way.
    EXPECT_NEAR(travel(kDial, 150, 150, 405.0) - travel(kDial, 150, 150, 54.0), 327.10, 0.01);
    // Halfway along lies over the top, near straight up, not at the bottom.
    EXPECT_NEAR(angle(kDial, 150, 150, 229.5), std::fmod(191.09 + 327.10 / 2, 360.0), 0.01);
    // Linear in the value.
    EXPECT_NEAR(travel(kDial, 150, 150, 100.0) - travel(kDial, 150, 150, 54.0), 46 * 327.10 / 351, 0.01);
}

TEST(NeedleTravel, StopPairsAndTableEndsHoldStill) {
    const struct {
        double value, same_as;
    } cases[] = {{0.0, 1.0}, {0.5, 1.0}, {-20.0, 1.0}, {405.5, 405.0}, {406.0, 405.0}, {500.0, 405.0},
                 {std::numeric_limits<double>::infinity(), 405.0}, {-std::numeric_limits<double>::infinity(), 0.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(travel(kDial, 150, 150, c.value), travel(kDial, 150, 150, c.same_as)) << c.value;
    EXPECT_FALSE(zephel::needle_travel(kDial, 150, 150, std::nan("")).has_value());
}

TEST(NeedleTravel, SegmentOverTheTopHalfwayIsStraightUp) {
    // Like the radio altimeter: 0.1 points about 251.4 degrees, 750 about
    // 108.6; the 217.2 degrees between them run clockwise over the top.
    auto point = [](double degrees) {
        const double r = degrees * M_PI / 180;
        return std::pair{static_cast<int32_t>(std::lround(1000 * std::sin(r))),
                         static_cast<int32_t>(std::lround(-1000 * std::cos(r)))};
    };
    const auto [x0, y0] = point(251.4);
    const auto [x1, y1] = point(108.6);
    const std::vector<NonlinearityEntry> table = {{x0, y0, 0.0}, {x0, y0, 0.1}, {x1, y1, 750.0}, {x1, y1, 751.0}};
    const double mid = angle(table, 0, 0, 375.05);
    EXPECT_LT(std::min(mid, 360.0 - mid), 0.1) << mid;
}

TEST(NeedleTravel, DescendingFullTurnTable) {
    // The heading card: 360 up, 180 down, 0 up again (a pixel further in).
    const std::vector<NonlinearityEntry> card = {{155, 48, 360.0}, {155, 248, 180.0}, {155, 49, 0.0}};
    const struct {
        double heading, direction;
    } cases[] = {{360, 0}, {270, 90}, {180, 180}, {90, 270}, {45, 315}, {0, 0}, {0.1, 359.9}, {359.9, 0.1}};
    for (const auto& c : cases) {
        const double a = angle(card, 155, 149, c.heading);
        EXPECT_NEAR(std::remainder(a - c.direction, 360.0), 0.0, 1e-9) << c.heading;
    }
    EXPECT_NEAR(travel(card, 155, 149, 0.0) - travel(card, 155, 149, 360.0), 360.0, 1e-9);
}

TEST(NeedleTravel, EvenThirdsOfAFullTurn) {
    // Three segments of 120 degrees each, ascending values, ending where it began.
    const std::vector<NonlinearityEntry> table = {{0, -100, 0.0}, {87, 50, 1.0}, {-87, 50, 2.0}, {0, -50, 3.0}};
    EXPECT_NEAR(angle(table, 0, 0, 1.5), 180.0, 0.1);
    EXPECT_NEAR(angle(table, 0, 0, 2.75), 330.0, 0.1);
    EXPECT_NEAR(travel(table, 0, 0, 3.0), 360.0, 1e-9);
}

TEST(NeedleTurnLimit, StepsTowardsTheTarget) {
    EXPECT_EQ(zephel::limit_turn(10, 100, 6), 16);
    EXPECT_EQ(zephel::limit_turn(100, 10, 6), 94);
    EXPECT_EQ(zephel::limit_turn(10, 13, 6), 13);
    EXPECT_EQ(zephel::limit_turn(10, 300, 0), 300);
}

// Through the host: the first tick places the needle, later ticks move it by
// at most the limit along the table (clockwise over the dial's top).
NONLINEARITY dial_table[] = {
    {{153, 254}, 0.0}, {{153, 254}, 1.0}, {{130, 252}, 54.0}, {{188, 245}, 405.0}, {{188, 245}, 406.0}};
ELEMENT_STATIC_IMAGE dial_face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, IMAGE_USE_TRANSPARENCY)};
ELEMENT_NEEDLE dial_needle{.header = synthetic::header(ELEMENT_KIND_NEEDLE, 2, {150, 150}, 0x83, {0, 1}),
                           .source = {.token = 61}, .nonlinearity = dial_table, .entry_count = 5, .turn_limit = 6};

TEST(NeedleTurnLimit, FirstTickPlacesThenSixDegreesATickClockwise) {
    synthetic::Module m({&dial_face.header, &dial_needle.header});
    m.bitmaps[1] = synthetic::solid(300, 300, 0x202020);
    m.bitmaps[2] = synthetic::solid(100, 3, 0xFFFFFF);
    zephel::Host& host = m.host();
    host.set_token(61, 54.0);
    host.tick();
    EXPECT_NEAR(m.state(1).angle, 191.09, 0.01);
    host.set_token(61, 405.0);
    host.tick();
    EXPECT_NEAR(m.state(1).angle, 197.09, 0.01);  // clockwise, not back the short way
    EXPECT_NEAR(m.state(1).target_angle, 158.20, 0.01);
    host.tick(), host.tick();
    EXPECT_NEAR(m.state(1).angle, 209.09, 0.01);
    for (int i = 0; i < 60; ++i) host.tick();
    EXPECT_NEAR(m.state(1).angle, 158.20, 0.01);
    EXPECT_EQ(dial_needle.source.value, 405.0) << "the binding's current value is written";
}

}  // namespace
