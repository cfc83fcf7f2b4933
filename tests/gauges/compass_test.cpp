// The course compass on the workbench: strips under the lubber line, the
// slip ball, and the course knob.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gauge_fixture.h"
#include "host/bitmap.h"

namespace {

constexpr const char* COMPASS = "Compass";
constexpr uint32_t TOKEN_SLIP = 69, TOKEN_HEADING = 84, TOKEN_COURSE = 107;
constexpr uint32_t KEY_COURSE_DOWN = 0x10158, KEY_COURSE_UP = 0x10157;
constexpr size_t HEADING_STRIP = 1, COURSE_STRIP = 2, SLIP_NEEDLE = 4;
constexpr uint32_t HEADING_STRIP_BITMAP = 0x1903;

constexpr int WINDOW_LEFT = 76, WINDOW_RIGHT = 229, HEADING_TOP = 90, COURSE_TOP = 140;
constexpr int LUBBER_LEFT = 150, LUBBER_RIGHT = 153;
constexpr double LUBBER_MIDDLE = 152.0;  // between columns 151 and 152

// Where the strips print the mark for a heading, in strip pixels.
double mark_x(double heading) { return 652.0 - 1.6 * heading; }

struct Rgb {
    int r, g, b;
};
Rgb rgb(const zephel::Image& picture, int x, int y) {
    const zephel::Rgba c = picture.at(x, y);  // opaque here, so premultiplied is straight
    return {c.r, c.g, c.b};
}
Rgb rgb(const zephel::Bitmap& bitmap, int x, int y) {
    const uint32_t c = bitmap.rgb(x, y);
    return {int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
}

bool light(Rgb c) { return c.r + c.g + c.b > 450; }

// Middles of the light runs along a row of the window, lubber line excluded.
std::vector<double> light_runs(const zephel::Image& picture, int row) {
    std::vector<double> middles;
    int start = -1;
    for (int x = WINDOW_LEFT; x <= WINDOW_RIGHT + 1; ++x) {
        const bool lit = x <= WINDOW_RIGHT && (x < LUBBER_LEFT || x > LUBBER_RIGHT) &&
                         light(rgb(picture, x, row));
        if (lit && start < 0) start = x;
        if (!lit && start >= 0) {
            middles.push_back((start + x) / 2.0);
            start = -1;
        }
    }
    return middles;
}

struct Label {
    double heading;
    double printed_at;  // the heading whose mark the strip shows there
    const char* name;
};

// At 0 the right-hand N lies under the lubber line, at 360 the left-hand one.
const Label LABELS_UNDER_LUBBER[] = {
    {0.0, 0.0, "N (right-hand)"}, {90.0, 90.0, "O"}, {180.0, 180.0, "S"},
    {270.0, 270.0, "W"},          {360.0, 360.0, "N (left-hand)"},
};

TEST_P(GaugeTest, CompassHeadingStripShowsItsLabelUnderTheLubberLine) {
    const zephel::Bitmap& strip = host().bitmaps().bitmap(HEADING_STRIP_BITMAP);
    for (const Label& l : LABELS_UNDER_LUBBER) {
        SCOPED_TRACE(l.name);
        set_token(TOKEN_HEADING, l.heading);
        tick();
        EXPECT_DOUBLE_EQ(LUBBER_MIDDLE - (WINDOW_LEFT + state(COMPASS, HEADING_STRIP).shift_x), mark_x(l.printed_at));
        const zephel::Image picture = render(COMPASS);
        // The label rows, 24 columns either side of the lubber line, show the
        // strip's own pixels around that label's mark.
        int lit = 0;
        for (int y = HEADING_TOP + 6; y <= HEADING_TOP + 21; ++y)
            for (int x = 128; x < 176; ++x) {
                if (x >= LUBBER_LEFT && x <= LUBBER_RIGHT) continue;
                const int sx = static_cast<int>(std::lround(mark_x(l.printed_at) + (x - LUBBER_MIDDLE)));
                const Rgb shown = rgb(picture, x, y);
                const Rgb printed = rgb(strip, sx, y - HEADING_TOP);
                ASSERT_EQ(light(shown), light(printed)) << "x " << x << " y " << y;
                lit += light(shown);
            }
        EXPECT_GT(lit, 40) << "no lettering under the lubber line";
    }
}

// The four cardinal letters read differently, so the comparison above
// cannot pass with the wrong one under the line.
TEST_P(GaugeTest, CompassCardinalLabelsDifferFromOneAnother) {
    const zephel::Bitmap& strip = host().bitmaps().bitmap(HEADING_STRIP_BITMAP);
    auto ink = [&](double heading) {
        std::vector<bool> out;
        for (int y = 6; y <= 21; ++y)
            for (int dx = -12; dx < 12; ++dx)
                out.push_back(light(rgb(strip, static_cast<int>(mark_x(heading)) + dx, y)));
        return out;
    };
    EXPECT_EQ(ink(0), ink(360));
    const double cardinal[] = {0, 90, 180, 270};
    for (double a : cardinal)
        for (double b : cardinal)
            if (a != b) EXPECT_NE(ink(a), ink(b)) << a << " " << b;
}

TEST_P(GaugeTest, CompassStripArrowsLineUpWhenHeadingEqualsCourse) {
    // Rows through the arrows' bodies, clear of labels and ticks: the heading
    // strip's arrows point down (rows 26 to 39), the course strip's up (4 to 20).
    const int heading_row = HEADING_TOP + 28, course_row = COURSE_TOP + 18;
    for (double h : {0.0, 37.5, 90.0, 123.0, 271.25, 359.0}) {
        SCOPED_TRACE(h);
        set_token(TOKEN_HEADING, h);
        set_token(TOKEN_COURSE, h);
        tick();
        const zephel::Image picture = render(COMPASS);
        const std::vector<double> upper = light_runs(picture, heading_row);
        const std::vector<double> lower = light_runs(picture, course_row);
        ASSERT_GE(upper.size(), 2u);
        EXPECT_EQ(upper, lower);
    }
    // Ten degrees apart, every arrow of the course strip stands 16 pixels to
    // the right of its partner on the heading strip: the higher course's marks
    // are printed further left, so its strip sits further right.
    set_token(TOKEN_HEADING, 100.0);
    set_token(TOKEN_COURSE, 110.0);
    tick();
    const zephel::Image picture = render(COMPASS);
    const std::vector<double> upper = light_runs(picture, heading_row);
    const std::vector<double> lower = light_runs(picture, course_row);
    ASSERT_FALSE(lower.empty());
    EXPECT_NE(upper, lower);
    for (double x : lower) {
        // Arrows cut by the window's edge, or whose partner is, are left out.
        if (x - 16 < WINDOW_LEFT + 6 || x > WINDOW_RIGHT - 6) continue;
        EXPECT_TRUE(std::any_of(upper.begin(), upper.end(), [&](double u) { return std::fabs(u - (x - 16)) < 0.6; }))
            << x;
    }
}

// The ball: pixels that are dark where the tube is cream with the ball away.
struct Ball {
    double x = 0, y = 0;
    int pixels = 0;
};

TEST_P(GaugeTest, CompassSlipBallStopsAndSwingsLessToTheLeft) {
    auto settle = [&](double slip) {
        set_token(TOKEN_SLIP, slip);
        tick(12);  // 6 degrees a tick at most
        return state(COMPASS, SLIP_NEEDLE).angle;
    };
    auto ball_in = [](const zephel::Image& with, const zephel::Image& without) {
        Ball b;
        for (int y = 195; y < 262; ++y)
            for (int x = 55; x < 250; ++x) {
                const Rgb a = rgb(with, x, y);
                const Rgb c = rgb(without, x, y);
                if (a.r + a.g + a.b < 300 && c.r + c.g + c.b > 450) {
                    b.x += x + 0.5;
                    b.y += y + 0.5;
                    ++b.pixels;
                }
            }
        if (b.pixels) {
            b.x /= b.pixels;
            b.y /= b.pixels;
        }
        return b;
    };

    const double centre = settle(0.0);
    const zephel::Image at_centre = render(COMPASS);
    const double right_126 = settle(126.0);
    const zephel::Image at_right_126 = render(COMPASS);
    const double right_127 = settle(127.0);
    const zephel::Image at_right_127 = render(COMPASS);
    const double right_far = settle(500.0);
    const double left_126 = settle(-126.0);
    const zephel::Image at_left_126 = render(COMPASS);
    const double left_127 = settle(-127.0);
    const zephel::Image at_left_127 = render(COMPASS);
    const double left_far = settle(-500.0);

    EXPECT_NEAR(centre, 180.0, 0.01);
    EXPECT_NEAR(right_126, 180.0 - std::atan2(74.0, 240.0) * 180.0 / M_PI, 0.01);  // 162.9
    EXPECT_NEAR(left_126, 180.0 + std::atan2(67.0, 240.0) * 180.0 / M_PI, 0.01);   // 195.6
    EXPECT_DOUBLE_EQ(right_127, right_126);
    EXPECT_DOUBLE_EQ(right_far, right_126);
    EXPECT_DOUBLE_EQ(left_127, left_126);
    EXPECT_DOUBLE_EQ(left_far, left_126);
    EXPECT_GT(centre - right_126, left_126 - centre);

    // In the picture: the ball hangs in the middle of the tube at 0, stands
    // still between 126 and 127, and travels less far to the left.
    const Ball mid = ball_in(at_centre, at_left_127);
    const Ball r126 = ball_in(at_right_126, at_left_127), r127 = ball_in(at_right_127, at_left_127);
    const Ball l126 = ball_in(at_left_126, at_right_127), l127 = ball_in(at_left_127, at_right_127);
    ASSERT_GT(mid.pixels, 300);
    EXPECT_NEAR(mid.x, 152.0, 1.5);
    EXPECT_NEAR(mid.y, 237.0, 1.5);
    EXPECT_EQ(at_right_126.pixels, at_right_127.pixels);
    EXPECT_EQ(at_left_126.pixels, at_left_127.pixels);
    EXPECT_EQ(r126.pixels, r127.pixels);
    EXPECT_EQ(l126.pixels, l127.pixels);
    EXPECT_NEAR(r127.x - mid.x, 234.0 * std::sin(std::atan2(74.0, 240.0)), 2.0);
    EXPECT_NEAR(mid.x - l127.x, 234.0 * std::sin(std::atan2(67.0, 240.0)), 2.0);
    EXPECT_GT(r127.x - mid.x, mid.x - l127.x + 4.0);
}

struct KnobClick {
    int x, y;
    bool hits;
    uint32_t event;  // when it hits
};

TEST_P(GaugeTest, CompassKnobColumnsAndRows) {
    const KnobClick clicks[] = {
        {22, 285, true, KEY_COURSE_DOWN},  {47, 285, true, KEY_COURSE_DOWN}, {48, 285, false, 0},
        {49, 285, true, KEY_COURSE_UP},    {74, 285, true, KEY_COURSE_UP},   {21, 285, false, 0},
        {75, 285, false, 0},               {22, 256, true, KEY_COURSE_DOWN}, {74, 315, true, KEY_COURSE_UP},
        {47, 255, false, 0},               {49, 316, false, 0},              {48, 256, false, 0},
        {48, 315, false, 0},
    };
    for (const KnobClick& c : clicks) {
        SCOPED_TRACE(::testing::Message() << "column " << c.x << " row " << c.y);
        host().clear_key_events();
        const zephel::PressResult r = click(COMPASS, c.x, c.y);
        EXPECT_EQ(r.called, c.hits);
        if (!c.hits) {
            EXPECT_TRUE(key_events().empty());
            continue;
        }
        EXPECT_EQ(r.result, 1);
        ASSERT_EQ(key_events().size(), 1u);
        EXPECT_EQ(key_events()[0].event, c.event);
        EXPECT_EQ(key_events()[0].parameter, 0u);
    }
}

TEST_P(GaugeTest, CompassKnobRepeatsOneEventWhileHeldAndStopsOnRelease) {
    for (auto [x, event] : {std::pair{30, KEY_COURSE_DOWN}, std::pair{66, KEY_COURSE_UP}}) {
        SCOPED_TRACE(x);
        host().clear_key_events();
        const uint64_t pressed_at = host().tick_count();
        press(COMPASS, x, 290);
        hold(5);
        release();
        tick(4);
        // The slat control sends its own event on every tick; leave those out.
        std::vector<zephel::KeyEvent> knob;
        for (const zephel::KeyEvent& e : key_events())
            if (e.event == KEY_COURSE_DOWN || e.event == KEY_COURSE_UP) knob.push_back(e);
        ASSERT_EQ(knob.size(), 6u);  // the press, then one per held tick
        for (size_t i = 0; i < knob.size(); ++i) {
            EXPECT_EQ(knob[i].event, event);
            EXPECT_EQ(knob[i].parameter, 0u);
            EXPECT_EQ(knob[i].tick, pressed_at + i);
        }
    }
}

// The magnetic-compass failure holds both strips where they were; the slip
// ball keeps moving.
TEST_P(GaugeTest, CompassFailureFreezesOnlyTheStrips) {
    set_token(TOKEN_HEADING, 90.0);
    set_token(TOKEN_COURSE, 200.0);
    tick();
    const double heading_shift = state(COMPASS, HEADING_STRIP).shift_x;
    const double course_shift = state(COMPASS, COURSE_STRIP).shift_x;
    set_failure(12);
    set_token(TOKEN_HEADING, 180.0);
    set_token(TOKEN_COURSE, 10.0);
    set_token(TOKEN_SLIP, 126.0);
    tick(12);
    EXPECT_EQ(state(COMPASS, HEADING_STRIP).shift_x, heading_shift);
    EXPECT_EQ(state(COMPASS, COURSE_STRIP).shift_x, course_shift);
    EXPECT_LT(state(COMPASS, SLIP_NEEDLE).angle, 170.0);
    set_failure(12, false);
    tick();
    EXPECT_DOUBLE_EQ(state(COMPASS, HEADING_STRIP).shift_x, -1.6 * 180.0);
    EXPECT_DOUBLE_EQ(state(COMPASS, COURSE_STRIP).shift_x, -1.6 * 350.0);
}

}  // namespace

namespace {

// Reference picture: heading 231, course 240 set nine degrees off, the ball
// a little to the right.
TEST_P(GaugeTest, CompassPicture) {
    set_token(TOKEN_HEADING, 231.0);
    set_token(TOKEN_COURSE, 240.0);
    set_token(TOKEN_SLIP, 60.0);
    tick();
    expect_golden("Compass", render(COMPASS));
}

}  // namespace
