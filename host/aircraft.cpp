#include "host/aircraft.h"

#include <algorithm>
#include <cmath>

namespace zephel {

constexpr double kFullTravel = 16383.0;

Aircraft::Aircraft(Host& host, AircraftOptions options)
    : host_(host),
      options_(options),
      events_seen_(host.key_events().size()),
      gear_handle_down_(options.gear_down),
      gear_position_(options.gear_down ? kFullTravel : 0.0),
      set_course_(options.set_course) {
    options_.flap_notches = std::max(options_.flap_notches, 1);
    if (!(options_.tick_rate_hz > 0)) options_.tick_rate_hz = kTickRateHz;
}

void Aircraft::apply(uint32_t event, uint32_t parameter) {
    switch (event) {
    case kKeyGearToggle:
        gear_handle_down_ = !gear_handle_down_;
        break;
    case kKeyFlapsIncrease:
        flap_notch_ = std::min(flap_notch_ + 1, options_.flap_notches);
        break;
    case kKeyFlapsDecrease:
        flap_notch_ = std::max(flap_notch_ - 1, 0);
        break;
    case kKeyCourseIncrease:
        set_course_ = std::fmod(set_course_ + 1.0, 360.0);
        break;
    case kKeyCourseDecrease:
        set_course_ = std::fmod(set_course_ + 359.0, 360.0);
        break;
    case kKeySlatsDeploy:
        ++slat_deploy_events_;
        slats_deployed_ = parameter != 0;
        break;
    case kKeySlatsRetract:
        ++slat_retract_events_;
        slats_deployed_ = parameter != 0;
        break;
    default:
        break;
    }
}

namespace {
double approach(double from, double to, double step) {
    return from < to ? std::min(from + step, to) : std::max(from - step, to);
}
}  // namespace

void Aircraft::tick() {
    const std::vector<KeyEvent>& events = host_.key_events();
    if (events_seen_ > events.size()) events_seen_ = 0;  // the log was cleared
    for (; events_seen_ < events.size(); ++events_seen_) apply(events[events_seen_].event, events[events_seen_].parameter);

    const double dt = 1.0 / options_.tick_rate_hz;
    gear_position_ = approach(gear_position_, gear_handle_down_ ? kFullTravel : 0.0,
                              kFullTravel * dt / std::max(options_.gear_travel_s, 1e-9));
    const double notch = kFullTravel / options_.flap_notches;
    flap_position_ = approach(flap_position_, notch * flap_notch_, notch * dt / std::max(options_.flap_notch_s, 1e-9));

    host_.set_token(kTokenGear, gear_position_);
    host_.set_token(kTokenFlaps, flap_position_);
    host_.set_token(kTokenSetCourse, set_course_);
    host_.tick();
}

}  // namespace zephel
