// The artificial horizon on the workbench: the card's pitch travel and the
// index that ignores pitch, bank turning both together, the slip ball's stops,
// and where card, index and bar show on the picture.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "gauge_fixture.h"

namespace {

constexpr char kGauge[] = "Artificial_Horizon";
constexpr uint32_t kTokenSlip = 69, kTokenPitch = 78, kTokenBank = 80;
constexpr size_t kCard = 1, kIndex = 2, kSlipNeedle = 4;
constexpr uint32_t kFaceBitmap = 0x1100, kWindowMask = 0x1201;
constexpr int kSize = 333;

struct Rgb {
    int r, g, b;
};
Rgb rgb(const zephel::Image& picture, int x, int y) {
    const zephel::Rgba c = picture.at(x, y);
    return {c.r, c.g, c.b};
}
// The painted cream markings (the miniature aircraft is a warmer yellow).
bool cream(Rgb c) { return c.r > 180 && c.g > 170 && c.b > 120 && c.r - c.b > 25; }

const zephel::AxisState* axis(const zephel::ElementState& s, const char* name) {
    for (const zephel::AxisState& a : s.axes)
        if (std::string(a.axis) == name) return &a;
    return nullptr;
}

// Rows of a column where the picture is cream, between two rows.
std::vector<int> cream_rows(const zephel::Image& picture, int x, int top, int bottom) {
    std::vector<int> rows;
    for (int y = top; y <= bottom; ++y)
        if (cream(rgb(picture, x, y))) rows.push_back(y);
    return rows;
}

struct Box {
    int left = kSize, top = kSize, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

class HorizonPicture {
public:
    explicit HorizonPicture(zephel::Host& host)
        : window_(host.bitmaps().texture(kWindowMask).window), face_(host.bitmaps().texture(kFaceBitmap).keyed) {}
    bool in_window(int x, int y) const { return window_[static_cast<size_t>(y) * kSize + x] != 0; }
    uint32_t face(int x, int y) const { return face_[static_cast<size_t>(y) * kSize + x]; }

    // Cream pixels inside the window, within the given rows.
    Box cream_in_window(const zephel::Image& picture, int top, int bottom) const {
        Box b;
        for (int y = top; y <= bottom; ++y)
            for (int x = 0; x < kSize; ++x)
                if (in_window(x, y) && cream(rgb(picture, x, y))) {
                    b.left = std::min(b.left, x);
                    b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y);
                    b.bottom = std::max(b.bottom, y);
                }
        return b;
    }

private:
    const std::vector<uint8_t>& window_;
    const std::vector<uint32_t>& face_;
};

struct PitchCase {
    double pitch;
    double offset;  // the card's Y shift in pixels
};

TEST_P(GaugeTest, HorizonCardTravelsAtMost86WhileTheIndexIgnoresPitch) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const PitchCase cases[] = {
        {0.0, 0.0},     {10.0, 20.0},    {43.0, 86.0},   {43.5, 86.0},   {1000.0, 86.0},
        {inf, 86.0},    {-10.0, -20.0},  {-43.0, -86.0}, {-43.5, -86.0}, {-1000.0, -86.0},
        {-inf, -86.0},  {nan, -86.0},    {12.5, 25.0},
    };
    set_token(kTokenBank, 0.0);
    for (const PitchCase& c : cases) {
        SCOPED_TRACE(c.pitch);
        set_token(kTokenPitch, c.pitch);
        tick();
        const zephel::ElementState& card = state(kGauge, kCard);
        const zephel::AxisState* y = axis(card, "y");
        ASSERT_NE(y, nullptr);
        EXPECT_EQ(y->token, kTokenPitch);
        EXPECT_TRUE(y->called_back);
        EXPECT_EQ(card.shift_y, c.offset);
        EXPECT_EQ(card.shift_x, 0.0);
        const zephel::ElementState& index = state(kGauge, kIndex);
        EXPECT_EQ(index.shift_y, 0.0);
        EXPECT_EQ(index.shift_x, 0.0);
        EXPECT_TRUE(axis(index, "y") == nullptr || !axis(index, "y")->called_back);
    }
}

TEST_P(GaugeTest, HorizonBankTurnsCardAndIndexTogether) {
    set_token(kTokenPitch, 20.0);
    for (const double bank : {0.0, 15.0, -30.0, 90.0, -180.0, 400.0}) {
        SCOPED_TRACE(bank);
        set_token(kTokenBank, bank);
        tick();
        const zephel::ElementState& card = state(kGauge, kCard);
        const zephel::ElementState& index = state(kGauge, kIndex);
        EXPECT_EQ(card.rotation, -bank);  // not limited
        EXPECT_EQ(index.rotation, card.rotation);
        EXPECT_EQ(card.shift_y, 40.0) << "bank must leave the pitch offset alone";
        EXPECT_EQ(index.shift_y, 0.0);
    }
}

// The table's stop: the ends of the tube lie atan(62 / 249) = 14.0 degrees
// either side of straight down.
const double kStop = std::atan2(62.0, 249.0) * 180.0 / M_PI;

struct SlipCase {
    double slip;
    double angle;  // degrees clockwise from straight up
};

TEST_P(GaugeTest, HorizonSlipBallStopsAt14DegreesEitherSide) {
    const SlipCase cases[] = {
        {127.0, 180.0 - kStop},   {126.0, 180.0 - kStop},  {63.0, 180.0 - kStop / 2},
        {0.0, 180.0},             {-63.0, 180.0 + kStop / 2}, {-126.0, 180.0 + kStop},
        {-127.0, 180.0 + kStop},  {500.0, 180.0 - kStop},  {-500.0, 180.0 + kStop},
    };
    ASSERT_NEAR(kStop, 14.0, 0.05);
    for (const SlipCase& c : cases) {
        SCOPED_TRACE(c.slip);
        set_token(kTokenSlip, c.slip);
        tick(6);  // 6 degrees a tick at most: enough for any move here
        EXPECT_NEAR(state(kGauge, kSlipNeedle).target_angle, c.angle, 1e-9);
        EXPECT_NEAR(state(kGauge, kSlipNeedle).angle, c.angle, 1e-9);
    }
}

TEST_P(GaugeTest, HorizonSlipBallSwingsAtMostSixDegreesATick) {
    set_token(kTokenSlip, 0.0);
    tick();
    set_token(kTokenSlip, 127.0);
    tick();
    EXPECT_NEAR(state(kGauge, kSlipNeedle).angle, 174.0, 1e-9);
    tick();
    EXPECT_NEAR(state(kGauge, kSlipNeedle).angle, 168.0, 1e-9);
    tick();
    EXPECT_NEAR(state(kGauge, kSlipNeedle).angle, 180.0 - kStop, 1e-9);
}

TEST_P(GaugeTest, HorizonBarLevelWithTheReferenceBarsAtRest) {
    set_token(kTokenPitch, 0.0);
    set_token(kTokenBank, 0.0);
    tick();
    const zephel::Image picture = render(kGauge);
    const std::vector<int> left_reference = cream_rows(picture, 75, 140, 185);
    const std::vector<int> right_reference = cream_rows(picture, 265, 140, 185);
    ASSERT_FALSE(left_reference.empty());
    EXPECT_EQ(left_reference.front(), 157);
    EXPECT_EQ(left_reference.back(), 168);
    EXPECT_EQ(right_reference, left_reference);
    // Across the window, on either side of the miniature aircraft, the card's
    // bar covers the middle of the reference bars' rows and nothing outside them.
    for (const int x : {94, 100, 110, 120, 218, 230, 240, 249}) {
        SCOPED_TRACE(x);
        const std::vector<int> bar = cream_rows(picture, x, 100, 230);
        ASSERT_FALSE(bar.empty());
        EXPECT_GE(bar.front(), left_reference.front());
        EXPECT_LE(bar.back(), left_reference.back());
        EXPECT_LE(bar.front(), 158);
        EXPECT_GE(bar.back(), 167);
        EXPECT_EQ(static_cast<int>(bar.size()), bar.back() - bar.front() + 1) << "one unbroken bar";
    }
}

TEST_P(GaugeTest, HorizonCardFillsTheWindowAtRestAndNeverShowsOutsideIt) {
    HorizonPicture face(host());
    set_token(kTokenSlip, 0.0);
    set_token(kTokenPitch, 0.0);
    set_token(kTokenBank, 0.0);
    tick();
    const zephel::Image rest = render(kGauge);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (face.in_window(x, y)) ASSERT_EQ(rest.at(x, y).a, 255) << "window hole at " << x << ", " << y;

    struct Attitude {
        double pitch, bank;
    };
    const Attitude attitudes[] = {{0, 0}, {43, 0}, {-43, 0}, {1000, 30}, {-20, 45}, {30, -120}, {10, 180}, {-43, 77}};
    // The ball hangs straight down: keep its circle out of the comparison.
    const double ball_x = 168.0, ball_y = 3.0 + 253.5;
    for (const Attitude& a : attitudes) {
        SCOPED_TRACE(testing::Message() << "pitch " << a.pitch << ", bank " << a.bank);
        set_token(kTokenPitch, a.pitch);
        set_token(kTokenBank, a.bank);
        tick();
        const zephel::Image picture = render(kGauge);
        int differing = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                if (face.in_window(x, y) || std::hypot(x + 0.5 - ball_x, y + 0.5 - ball_y) < 15) continue;
                if (picture.pixels[static_cast<size_t>(y) * kSize + x] != face.face(x, y)) ++differing;
            }
        EXPECT_EQ(differing, 0) << "pixels outside the window differ from the face";
    }
}

TEST_P(GaugeTest, HorizonIndexShowsInTheDomedTopUnderTheBankMark) {
    HorizonPicture face(host());
    set_token(kTokenBank, 0.0);
    for (const double pitch : {0.0, 30.0, -30.0}) {
        SCOPED_TRACE(pitch);
        set_token(kTokenPitch, pitch);
        tick();
        const zephel::Image picture = render(kGauge);
        const Box index = face.cream_in_window(picture, 59, 90);  // the bar stays below
        ASSERT_FALSE(index.empty());
        EXPECT_EQ(index.top, 59);
        EXPECT_NEAR(index.bottom, 69, 1);
        EXPECT_NEAR(index.left, 162, 1);
        EXPECT_NEAR(index.right, 173, 1);
        // The face's fixed mark stands right above it.
        const std::vector<int> mark = cream_rows(picture, 168, 40, 58);
        ASSERT_FALSE(mark.empty());
        EXPECT_EQ(mark.front(), 47);
        EXPECT_EQ(mark.back(), 57);
    }
}

TEST_P(GaugeTest, HorizonIndexSwingsAlongTheTopAndHidesBeyondItsRange) {
    HorizonPicture face(host());
    set_token(kTokenPitch, 43.0);  // the bar out of the way, 86 below the turning centre
    struct Case {
        double bank;
        int side;  // -1 the index shows left of the middle, +1 right, 0 hidden
    };
    // A right bank turns the card anticlockwise, so the index moves left. The
    // window is not centred on the turning centre: the index shows up to about
    // 35 degrees to the left and 46 to the right.
    const Case cases[] = {{20, -1}, {30, -1}, {-20, 1}, {-42, 1}, {45, 0}, {-55, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bank);
        set_token(kTokenBank, c.bank);
        tick();
        const zephel::Image picture = render(kGauge);
        // In the upper part of the window only the index is cream.
        const Box index = face.cream_in_window(picture, 59, 125);
        if (c.side == 0) {
            EXPECT_TRUE(index.empty()) << "index still in sight at " << index.left << ", " << index.top;
        } else {
            ASSERT_FALSE(index.empty());
            EXPECT_EQ((index.left + index.right) / 2 < 167 ? -1 : 1, c.side);
        }
    }
}

TEST_P(GaugeTest, HorizonRightBankRaisesTheBarsRightEnd) {
    set_token(kTokenPitch, 0.0);
    set_token(kTokenBank, 20.0);  // right wing down
    tick();
    const zephel::Image picture = render(kGauge);
    const std::vector<int> left = cream_rows(picture, 105, 100, 235);
    const std::vector<int> right = cream_rows(picture, 235, 100, 235);
    ASSERT_FALSE(left.empty());
    ASSERT_FALSE(right.empty());
    // As the pilot sees it: the horizon tilts anticlockwise, by about
    // tan(20 degrees) x 130 columns = 47 rows between these two columns.
    EXPECT_NEAR(left.front() - right.front(), 47, 3);
}

TEST_P(GaugeTest, HorizonPicture) {
    set_token(kTokenPitch, 10.0);
    set_token(kTokenBank, 20.0);
    set_token(kTokenSlip, 60.0);
    tick();
    expect_golden(kGauge, render(kGauge));
}

}  // namespace
