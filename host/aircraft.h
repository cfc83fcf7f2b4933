// A small aircraft that closes the key-event circle for previews: it reads
// the key events the module sent since its last tick, moves the undercarriage
// and flaps, steps the set course, counts slat events, and writes the tokens
// before each host tick.
//
// Token units used across the workbench:
//   61 airspeed, knots            69 slip ball, -127 (left) .. 127 (right)
//   78 pitch, degrees, + nose up  80 bank, degrees, + right wing down
//   84 heading, degrees 0..360    107 set course, degrees 0..360
//   329 flap position 0..16383    331 undercarriage position 0..16383 (16383 down)
//   614 height above ground, metres
// The loop owns 107, 329 and 331; the caller sets the others on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host.h"

namespace zephel {

constexpr uint32_t kTokenAirspeed = 61, kTokenSlip = 69, kTokenPitch = 78, kTokenBank = 80,
                   kTokenHeading = 84, kTokenSetCourse = 107, kTokenFlaps = 329,
                   kTokenGear = 331, kTokenHeightAboveGround = 614;

constexpr uint32_t kKeyGearToggle = 0x10022, kKeyFlapsIncrease = 0x100DE,
                   kKeyFlapsDecrease = 0x100DF, kKeyCourseIncrease = 0x10157,
                   kKeyCourseDecrease = 0x10158, kKeySlatsDeploy = 0x10210,
                   kKeySlatsRetract = 0x10211;

constexpr double kTickRateHz = 18.0;  // the simulator's gauge update rate

struct AircraftOptions {
    bool gear_down = true;        // on the ground at the start
    double gear_travel_s = 4.0;   // 0 -> 16383 or back
    int flap_notches = 4;         // 0 .. notches; 16383 at the last
    double flap_notch_s = 1.5;    // travel time for one notch
    double set_course = 0.0;
    double tick_rate_hz = kTickRateHz;
};

class Aircraft {
public:
    explicit Aircraft(Host& host, AircraftOptions options = {});

    // Reads new key events, moves the controls by one tick's travel, writes
    // tokens 107, 329 and 331 into the host, then runs host.tick().
    void tick();

    bool gear_handle_down() const { return gear_handle_down_; }
    double gear_position() const { return gear_position_; }
    int flap_notch() const { return flap_notch_; }
    double flap_position() const { return flap_position_; }
    double set_course() const { return set_course_; }
    bool slats_deployed() const { return slats_deployed_; }
    uint64_t slat_deploy_events() const { return slat_deploy_events_; }
    uint64_t slat_retract_events() const { return slat_retract_events_; }

    // Applies one key event (tick() does this for every new logged event).
    void apply(uint32_t event, uint32_t parameter);

private:
    Host& host_;
    AircraftOptions options_;
    size_t events_seen_ = 0;
    bool gear_handle_down_;
    double gear_position_;
    int flap_notch_ = 0;
    double flap_position_ = 0.0;
    double set_course_;
    bool slats_deployed_ = false;
    uint64_t slat_deploy_events_ = 0, slat_retract_events_ = 0;
};

}  // namespace zephel
