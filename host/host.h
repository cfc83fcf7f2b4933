// The simulator stand-in: loads the module through a backend, keeps token
// values and failures, runs the update tick, draws gauges, dispatches the
// mouse and logs every key event the module sends.
//
//   zephel::NativeBackend backend;
//   zephel::Host host(backend);
//   host.set_token(61, 200.0);                       // knots
//   host.tick();
//   double a = host.state("Airspeed_Indicator", 1).angle;
//   host.press("UnderCarriage_Lever", 50, 50);        // left click
//   host.release();
//   zephel::Image picture = host.render("UnderCarriage_Lever");
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/backend.h"
#include "host/image.h"
#include "host/model.h"
#include "host/render.h"
#include "host/state.h"

namespace zephel {

struct KeyEvent {
    uint32_t event = 0;
    uint32_t parameter = 0;
    uint64_t tick = 0;  // tick_count() when it was sent
    bool operator==(const KeyEvent&) const = default;
};

struct ServiceCall {
    int service_index = 0;
    Address element = 0;
    uint32_t argument = 0;
};

enum class MouseButton { Left, Right };

// What a press found.
struct PressResult {
    const MouseRow* row = nullptr;  // the child row hit, or null
    bool called = false;            // its mouse function was called
    int32_t result = 0;             // the function's result
};

class Host : public PanelServices {
public:
    // Loads: library entry (process attach), Linkage read into the model,
    // panel services installed, module init routine called.
    explicit Host(Backend& backend);
    // Module deinit routine, services removed, library entry (process detach).
    ~Host() override;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Backend& backend() { return backend_; }
    const Module& module() const { return module_; }
    // Throws HostError listing the valid names.
    const Gauge& gauge(std::string_view name) const { return module_.gauge(name); }
    // Picture size: the size of the gauge's root bitmap.
    std::pair<int, int> picture_size(const Gauge& gauge);

    // Tokens: values the next tick writes into the bindings (unset = 0.0).
    void set_token(uint32_t token, double value) { tokens_[token] = value; }
    double token(uint32_t token) const;
    const std::map<uint32_t, double>& tokens() const { return tokens_; }

    // Failures switched on and off by the caller.
    void set_failure(uint32_t key, bool active);
    bool failure(uint32_t key) const { return failures_.count(key) != 0; }
    const std::set<uint32_t>& failures() const { return failures_; }

    // One update of every gauge: the tick count goes up by one, a held
    // repeat row is called once more (hold_tick), then every element, in
    // drawing order, gets its bindings' current values written, its value
    // callbacks called and its state derived. The first tick places needles
    // directly; later ones move them by at most their turn limit.
    void tick();
    uint64_t tick_count() const { return tick_count_; }

    // The gauges on the panel, which the tick updates: all of them unless set.
    // A gauge left off keeps its last state (and the slat control sends
    // nothing while it is off the panel). Throws HostError on an unknown name.
    void set_panel(const std::vector<std::string>& gauge_names);
    bool on_panel(const Gauge& gauge) const { return on_panel_.at(gauge.index); }

    // Element state, by gauge and element index in drawing order.
    const std::vector<ElementState>& states(const Gauge& gauge) const;
    const ElementState& state(std::string_view gauge, size_t element) const;

    // Mouse, at gauge coordinates. A press inside a child row whose flags ask
    // for the button calls the row's function (none for a null function or a
    // right click). The button stays held until release(); while held on a
    // MOUSE_DOWN_REPEAT row, hold_tick() calls the function again.
    PressResult press(const Gauge& gauge, int32_t x, int32_t y, MouseButton button = MouseButton::Left);
    PressResult press(std::string_view gauge, int32_t x, int32_t y, MouseButton button = MouseButton::Left) {
        return press(this->gauge(gauge), x, y, button);
    }
    bool hold_tick();  // true when it called the function
    void release();
    // The child row hit at (x, y), or null (first match in table order).
    static const MouseRow* hit(const Gauge& gauge, int32_t x, int32_t y);

    // Every key event the module sent, in order, with the tick it came in.
    const std::vector<KeyEvent>& key_events() const { return key_events_; }
    void clear_key_events() { key_events_.clear(); }
    // Every element_list_* call the module made.
    const std::vector<ServiceCall>& service_calls() const { return service_calls_; }

    // Calls standard routine `index` (0 query .. 6 kill) through a gauge's header.
    void call_standard_routine(const Gauge& gauge, int index, uint32_t argument = 0);

    // Drawing.
    BitmapCache& bitmaps() { return bitmaps_; }
    Image render(const Gauge& gauge);
    Image render(std::string_view gauge) { return render(this->gauge(gauge)); }

    // PanelServices.
    void element_list(int service_index, Address element, uint32_t arg) override;
    void trigger_key_event(uint32_t event, uint32_t parameter) override;

private:
    void update_element(const Element& element, ElementState& state, bool first);
    double axis(const Element& element, const Binding& binding, Address callback, const char* name,
                ElementState& state);
    bool frozen(const Element& element) const;

    Backend& backend_;
    Module module_;
    BitmapCache bitmaps_;
    std::map<uint32_t, double> tokens_;
    std::set<uint32_t> failures_;
    std::vector<std::vector<ElementState>> states_;  // per gauge, per element
    std::vector<bool> on_panel_;
    uint64_t tick_count_ = 0;
    std::vector<KeyEvent> key_events_;
    std::vector<ServiceCall> service_calls_;
    struct Held {
        const Gauge* gauge = nullptr;
        const MouseRow* row = nullptr;
        int32_t x = 0, y = 0;
    } held_;
};

}  // namespace zephel
