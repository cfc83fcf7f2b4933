// The course compass's strip callback and course knob.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gauges/gauges.h"
#include "recording_services.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const double nan_value = std::nan("");

struct StripCase {
    double value;   // heading or set course, degrees
    double result;  // what the window slides by
};

// 360 - v inside one turn; everything else shows the left-hand north (0.0).
const StripCase STRIP_CASES[] = {
    {0.0, 360.0},
    {-0.0, 360.0},
    {90.0, 270.0},
    {180.0, 180.0},
    {270.0, 90.0},
    {359.5, 0.5},
    {360.0, 0.0},
    {1e-9, 360.0 - 1e-9},
    {-1e-9, 0.0},            // r just over 360
    {360.0 + 1e-9, 0.0},     // r just under 0
    {360.5, 0.0},
    {-0.5, 0.0},
    {720.0, 0.0},
    {-360.0, 0.0},
    {nan_value, 0.0},
    {inf, 0.0},
    {-inf, 0.0},
};

// The two strips as the gauge chains them: face, heading strip, course strip.
ELEMENT_MOVING_IMAGE* strip(int index) {
    ELEMENT_HEADER* e = compass_header.elements[0];
    for (int i = 0; i <= index; ++i) e = e->children[0];
    return reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
}

TEST(CompassStripCb, ReversesOneTurnAndShowsNorthOutsideIt) {
    RecordingServices services;
    services.install();
    for (const StripCase& c : STRIP_CASES) {
        SCOPED_TRACE(c.value);
        ELEMENT_MOVING_IMAGE image{};
        image.source_x.value = c.value;
        const double r = compass_strip_cb(&image.header);
        EXPECT_EQ(r, c.result);
        EXPECT_FALSE(std::signbit(r));
    }
    EXPECT_TRUE(services.calls.empty()) << "the strip callback must not call the simulator";
}

// Both strips name the callback on their X axis and read their own binding:
// heading on the upper strip, set course on the lower.
TEST(CompassStripCb, BothStripsUseItOnTheirOwnValue) {
    ELEMENT_MOVING_IMAGE* heading = strip(0);
    ELEMENT_MOVING_IMAGE* course = strip(1);
    ASSERT_EQ(heading->header.kind, ELEMENT_KIND_MOVING_IMAGE);
    ASSERT_EQ(course->header.kind, ELEMENT_KIND_MOVING_IMAGE);
    ASSERT_EQ(heading->callback_x, compass_strip_cb);
    ASSERT_EQ(course->callback_x, compass_strip_cb);
    EXPECT_EQ(heading->callback_y, nullptr);
    EXPECT_EQ(course->callback_y, nullptr);
    for (const StripCase& c : STRIP_CASES) {
        SCOPED_TRACE(c.value);
        heading->source_x.value = c.value;
        course->source_x.value = 123.0;
        EXPECT_EQ(heading->callback_x(&heading->header), c.result);
        heading->source_x.value = 45.0;
        course->source_x.value = c.value;
        EXPECT_EQ(course->callback_x(&course->header), c.result);
    }
    heading->source_x.value = 0.0;
    course->source_x.value = 0.0;
}

struct KnobCase {
    const char* name;
    MOUSE_FUNCTION function;
    uint32_t event;
};

const KnobCase KNOB_CASES[] = {
    {"course_knob_left", course_knob_left, 0x10158},
    {"course_knob_right", course_knob_right, 0x10157},
};

TEST(CourseKnob, EachHalfSendsItsOneEventWithParameterZero) {
    for (const KnobCase& k : KNOB_CASES) {
        SCOPED_TRACE(k.name);
        RecordingServices services;
        services.install();
        PIXPOINT point{30, 280};
        EXPECT_EQ(k.function(&point, MOUSE_LEFTSINGLE), 1);
        EXPECT_EQ(k.function(nullptr, MOUSE_DOWN_REPEAT), 1);
        EXPECT_EQ(k.function(&point, 0xFFFFFFFFu), 1);
        const ServiceCall one{SERVICE_TRIGGER_KEY_EVENT, k.event, 0};
        EXPECT_EQ(services.calls, (std::vector<ServiceCall>{one, one, one}));
    }
}

}  // namespace
