// Workbench tests of the gauges, run once per backend (the module linked
// natively, and the shipped .gau in the emulator where that backend is built).
//
// Write a gauge's tests in tests/gauges/<gauge>_test.cpp:
//
//   #include "gauge_fixture.h"
//
//   TEST_P(GaugeTest, RadioAltimeterHalfwayPointsStraightUp) {
//       set_token(614, 375.05);                  // metres
//       tick();                                  // first tick: needles placed directly
//       EXPECT_NEAR(state("Radio_Altimeter", 1).angle, 359.996, 0.001);
//   }
//
//   TEST_P(GaugeTest, CourseKnobRepeatsWhileHeld) {
//       press("Compass", 30, 280);               // left button down at gauge pixels
//       hold(3);                                 // three ticks held: three repeats
//       release();
//       EXPECT_EQ(key_events(0x10158).size(), 4u);  // the slat control sends its own
//   }
//
//   TEST_P(GaugeTest, HorizonPicture) {           // one reference picture per gauge
//       set_token(78, 10); tick();
//       expect_golden("Artificial_Horizon", render("Artificial_Horizon"));
//   }
//
// Helpers: set_token / tick(n) / state(gauge, element index in drawing order)
// / set_failure / click (press + release) / press / hold(ticks) / release /
// key_events (all, or of one event number) / render (premultiplied RGBA) / host() for everything else.
//
// Reference pictures live in tests/gauges/golden/NAME.png. After changing
// art or drawing, regenerate them all (then look at them before committing):
//
//   ZEPHEL_REGENERATE_GOLDEN=1 <build>/tests/gauges/gauge_tests --gtest_filter='*/native'
//
// A missing reference fails with the same hint.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "host/image.h"

// The backends every gauge test runs on ("native", and "emu" once built).
std::vector<std::string> gauge_test_backends();
std::unique_ptr<zephel::Backend> make_gauge_test_backend(const std::string& kind);

// Compares with tests/gauges/golden/NAME.png: same size, and no more than
// 0.2% of pixels differing by more than 24 in any channel (bilinear edges and
// floating-point details may differ a little between backends).
void expect_golden(const std::string& name, const zephel::Image& image);

class GaugeTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        backend_ = make_gauge_test_backend(GetParam());
        host_ = std::make_unique<zephel::Host>(*backend_);
    }
    void TearDown() override {
        host_.reset();
        backend_.reset();
    }

    zephel::Host& host() { return *host_; }
    zephel::Backend& backend() { return *backend_; }

    void set_token(uint32_t token, double value) { host_->set_token(token, value); }
    void set_failure(uint32_t key, bool active = true) { host_->set_failure(key, active); }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) host_->tick();
    }
    const zephel::ElementState& state(std::string_view gauge, size_t element) {
        return host_->state(gauge, element);
    }
    const zephel::Gauge& gauge(std::string_view name) { return host_->gauge(name); }
    // Feeds `value` and ticks until the needle stands where its table puts it
    // (a turn-limited needle may need many ticks).
    const zephel::ElementState& settle_needle(std::string_view gauge, size_t element, uint32_t token,
                                              double value) {
        set_token(token, value);
        for (int i = 0; i < 100; ++i) {
            tick();
            if (state(gauge, element).angle == state(gauge, element).target_angle) break;
        }
        return state(gauge, element);
    }

    zephel::PressResult press(std::string_view gauge, int x, int y,
                              zephel::MouseButton button = zephel::MouseButton::Left) {
        return host_->press(gauge, x, y, button);
    }
    // Ticks with the button held (each tick repeats a MOUSE_DOWN_REPEAT row once).
    void hold(int ticks) { tick(ticks); }
    void release() { host_->release(); }
    zephel::PressResult click(std::string_view gauge, int x, int y,
                              zephel::MouseButton button = zephel::MouseButton::Left) {
        zephel::PressResult r = press(gauge, x, y, button);
        release();
        return r;
    }
    const std::vector<zephel::KeyEvent>& key_events() { return host_->key_events(); }
    std::vector<zephel::KeyEvent> key_events(uint32_t event) {
        std::vector<zephel::KeyEvent> out;
        for (const zephel::KeyEvent& k : host_->key_events())
            if (k.event == event) out.push_back(k);
        return out;
    }

    zephel::Image render(std::string_view gauge) { return host_->render(gauge); }

private:
    std::unique_ptr<zephel::Backend> backend_;
    std::unique_ptr<zephel::Host> host_;
};
