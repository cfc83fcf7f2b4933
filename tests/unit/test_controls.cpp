// Value callbacks and mouse functions of the slat control and the
// undercarriage lever.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gauges/gauges.h"
#include "recording_services.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const double nan_value = std::nan("");

double call_icon_cb(VALUE_CALLBACK cb, double value) {
    ELEMENT_ICON icon{};
    icon.source.value = value;
    return cb(&icon.header);
}

struct SlatCase {
    double knots;
    double result;
    uint32_t event;
    uint32_t parameter;
};

TEST(AutoslatIconCb, ThresholdAt97_19Knots) {
    const SlatCase cases[] = {
        {97.19, 1.0, 0x10210, 1},
        {std::nextafter(97.19, 0.0), 1.0, 0x10210, 1},
        {std::nextafter(97.19, 200.0), 0.0, 0x10211, 0},
        {180.0 / 1.852, 0.0, 0x10211, 0},  // 180 km/h lies above the threshold
        {97.1922, 0.0, 0x10211, 0},
        {0.0, 1.0, 0x10210, 1},
        {-0.0, 1.0, 0x10210, 1},
        {-50.0, 1.0, 0x10210, 1},
        {nan_value, 1.0, 0x10210, 1},
        {inf, 0.0, 0x10211, 0},
        {-inf, 1.0, 0x10210, 1},
        {400.0, 0.0, 0x10211, 0},
    };
    RecordingServices services;
    services.install();
    for (const SlatCase& c : cases) {
        SCOPED_TRACE(c.knots);
        services.calls.clear();
        EXPECT_EQ(call_icon_cb(autoslat_icon_cb, c.knots), c.result);
        ASSERT_EQ(services.calls.size(), 1u);
        EXPECT_EQ(services.calls[0], (ServiceCall{SERVICE_TRIGGER_KEY_EVENT, c.event, c.parameter}));
    }
}

TEST(AutoslatIconCb, EveryCallSendsOneEventWithoutMemory) {
    RecordingServices services;
    services.install();
    for (int i = 0; i < 100; ++i) call_icon_cb(autoslat_icon_cb, 50.0);
    ASSERT_EQ(services.calls.size(), 100u);
    for (const auto& call : services.calls) EXPECT_EQ(call, (ServiceCall{SERVICE_TRIGGER_KEY_EVENT, 0x10210, 1}));
    services.calls.clear();
    call_icon_cb(autoslat_icon_cb, 150.0);
    call_icon_cb(autoslat_icon_cb, 150.0);
    EXPECT_EQ(services.calls, (std::vector<ServiceCall>{{SERVICE_TRIGGER_KEY_EVENT, 0x10211, 0},
                                                        {SERVICE_TRIGGER_KEY_EVENT, 0x10211, 0}}));
}

TEST(GearIconCb, SecondPictureFromFullyDown) {
    const std::pair<double, double> cases[] = {
        {16383.0, 1.0}, {std::nextafter(16383.0, 0.0), 0.0}, {std::nextafter(16383.0, 1e9), 1.0},
        {0.0, 0.0},     {-0.0, 0.0},                          {-1.0, 0.0},
        {8000.0, 0.0},  {20000.0, 1.0},                       {nan_value, 0.0},
        {inf, 1.0},     {-inf, 0.0},
    };
    RecordingServices services;
    services.install();
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(call_icon_cb(gear_icon_cb, value), expected);
    }
    EXPECT_TRUE(services.calls.empty()) << "gear_icon_cb must not call the simulator";
}

TEST(GearClick, OneToggleEventPerClickAndResultOne) {
    RecordingServices services;
    services.install();
    PIXPOINT point{20, 30};
    EXPECT_EQ(gear_click(&point, MOUSE_LEFTSINGLE), 1);
    EXPECT_EQ(gear_click(nullptr, 0), 1);
    EXPECT_EQ(services.calls, (std::vector<ServiceCall>{{SERVICE_TRIGGER_KEY_EVENT, 0x10022, 0},
                                                        {SERVICE_TRIGGER_KEY_EVENT, 0x10022, 0}}));
}

}  // namespace
