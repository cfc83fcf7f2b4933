// Loading, the update tick, the mouse and the key-event log.
#include "host/host.h"

#include <cmath>

#include "host/needle.h"

namespace zephel {

constexpr uint32_t kProcessAttach = 1, kProcessDetach = 0;

Host::Host(Backend& backend) : backend_(backend), bitmaps_(backend) {
    backend_.call_library_entry(kProcessAttach);
    module_ = read_module(backend_);
    backend_.install_services(*this);
    if (module_.module_init) backend_.call_routine(module_.module_init);
    states_.resize(module_.gauges.size());
    on_panel_.assign(module_.gauges.size(), true);
    for (size_t g = 0; g < module_.gauges.size(); ++g) states_[g].resize(module_.gauges[g].elements.size());
}

Host::~Host() {
    try {
        if (module_.module_deinit) backend_.call_routine(module_.module_deinit);
        backend_.uninstall_services(*this);
        backend_.call_library_entry(kProcessDetach);
    } catch (...) {
        // Unloading reports nothing.
    }
}

std::pair<int, int> Host::picture_size(const Gauge& gauge) {
    if (gauge.elements.empty()) return {0, 0};
    const Texture& root = bitmaps_.texture(gauge.elements.front().bitmap);
    return {root.width, root.height};
}

double Host::token(uint32_t token) const {
    auto it = tokens_.find(token);
    return it == tokens_.end() ? 0.0 : it->second;
}

void Host::set_failure(uint32_t key, bool active) {
    if (active)
        failures_.insert(key);
    else
        failures_.erase(key);
}

bool Host::frozen(const Element& element) const {
    for (const FailureEntry& f : element.failures)
        if (f.action == 1 && failures_.count(f.key)) return true;
    return false;
}

const std::vector<ElementState>& Host::states(const Gauge& gauge) const { return states_.at(gauge.index); }

const ElementState& Host::state(std::string_view gauge, size_t element) const {
    const Gauge& g = this->gauge(gauge);
    if (element >= g.elements.size())
        throw HostError(g.name + " has " + std::to_string(g.elements.size()) + " elements; no element " +
                        std::to_string(element));
    return states_[g.index][element];
}

void Host::tick() {
    ++tick_count_;
    hold_tick();
    for (const Gauge& g : module_.gauges) {
        if (!on_panel_[g.index]) continue;
        for (size_t i = 0; i < g.elements.size(); ++i) {
            ElementState& s = states_[g.index][i];
            const bool first = !s.valid;
            s.frozen = frozen(g.elements[i]);
            if (s.frozen) continue;  // keeps the last state; no values written, no callback called
            update_element(g.elements[i], s, first);
            s.valid = true;
        }
    }
}

void Host::set_panel(const std::vector<std::string>& gauge_names) {
    std::vector<bool> placed(module_.gauges.size(), false);
    for (const std::string& name : gauge_names) placed[gauge(name).index] = true;
    on_panel_ = placed;
}

// Writes the token's value into the binding, calls the callback if there is
// one, and returns the value the element uses for that axis.
double Host::axis(const Element& element, const Binding& binding, Address callback, const char* name,
                  ElementState& state) {
    AxisState a;
    a.axis = name;
    a.token = binding.token;
    if (binding.bound()) {
        a.token_value = token(binding.token);
        backend_.write_f64(binding.address + backend_.layout().binding.value, a.token_value);
    }
    a.value = a.token_value;
    if (callback) {
        a.value = backend_.call_value_callback(callback, element.address);
        a.called_back = true;
    }
    if (binding.bound() || callback) state.axes.push_back(a);
    return a.value;
}

void Host::update_element(const Element& e, ElementState& s, bool first) {
    s.axes.clear();
    switch (e.kind) {
    case ElementKind::StaticImage:
        break;
    case ElementKind::Needle: {
        const double v = axis(e, e.source, 0, "source", s);
        if (std::optional<double> travel = needle_travel(e.table, e.position_x, e.position_y, v))
            s.target_travel = *travel;
        else if (first)
            s.target_travel = needle_travel(e.table, e.position_x, e.position_y, e.table.empty() ? 0 : e.table[0].value).value_or(0.0);
        s.travel = first ? s.target_travel : limit_turn(s.travel, s.target_travel, e.turn_limit);
        s.angle = wrap_degrees(s.travel);
        s.target_angle = wrap_degrees(s.target_travel);
        break;
    }
    case ElementKind::Slider: {
        const double x = axis(e, e.source_x, 0, "x", s);
        const double y = axis(e, e.source_y, 0, "y", s);
        s.shift_x = e.source_x.bound() ? x * e.scale_x : 0.0;
        s.shift_y = e.source_y.bound() ? y * e.scale_y : 0.0;
        break;
    }
    case ElementKind::Icon: {
        const double v = axis(e, e.source, e.callback, "source", s);
        // 0.0 shows bitmap ID, 1.0 ID+1, and so on; other values the picture
        // below them, kept within the pictures there are.
        const int last = std::max(e.picture_count, 1) - 1;
        int picture = 0;
        if (v >= 1.0) picture = v >= last ? last : static_cast<int>(std::floor(v));
        s.picture = picture;
        break;
    }
    case ElementKind::MovingImage: {
        // At the minimum the picture's left (top) edge lies on the window's
        // left (top) edge, at the maximum its right (bottom) edge on the
        // window's right (bottom) edge; linear between and beyond.
        const double x = axis(e, e.source_x, e.callback_x, "x", s);
        const double y = axis(e, e.source_y, e.callback_y, "y", s);
        const Texture& picture = bitmaps_.texture(e.bitmap);
        const Texture& window = bitmaps_.texture(e.mask_bitmap());
        auto place = [](double v, double lo, double hi, int picture_size, int window_size) {
            if (hi == lo) return 0.0;
            return (v - lo) / (hi - lo) * (window_size - picture_size);
        };
        s.shift_x = place(x, e.min_x, e.max_x, picture.width, window.width);
        s.shift_y = place(y, e.min_y, e.max_y, picture.height, window.height);
        break;
    }
    case ElementKind::Sprite: {
        const double x = axis(e, e.source_x, e.callback_x, "x", s);
        const double y = axis(e, e.source_y, e.callback_y, "y", s);
        const double r = axis(e, e.source_rotation, e.callback_rotation, "rotation", s);
        s.shift_x = x * e.scale_x;
        s.shift_y = y * e.scale_y;
        // Degrees, positive clockwise on the screen: with the horizon's
        // rotation scale of -1, a right bank (positive) turns the card
        // anticlockwise, its right side rising, as the pilot sees the horizon.
        s.rotation = r * e.scale_rotation;
        break;
    }
    }
}

// ---- Mouse ----------------------------------------------------------------------

const MouseRow* Host::hit(const Gauge& gauge, int32_t x, int32_t y) {
    for (const MouseRow& r : gauge.mouse_rows)
        if (r.type == kRowChild && r.contains(x, y)) return &r;
    return nullptr;
}

PressResult Host::press(const Gauge& gauge, int32_t x, int32_t y, MouseButton button) {
    release();
    PressResult result;
    result.row = hit(gauge, x, y);
    if (!result.row || button != MouseButton::Left || !(result.row->flags & kMouseLeftSingle)) return result;
    held_ = {&gauge, result.row, x, y};
    if (result.row->function) {
        result.result = backend_.call_mouse_function(result.row->function, x, y, kMouseLeftSingle);
        result.called = true;
    }
    return result;
}

bool Host::hold_tick() {
    if (!held_.row || !(held_.row->flags & kMouseDownRepeat) || !held_.row->function) return false;
    backend_.call_mouse_function(held_.row->function, held_.x, held_.y, kMouseDownRepeat);
    return true;
}

void Host::release() { held_ = {}; }

// ---- Services -------------------------------------------------------------------

void Host::call_standard_routine(const Gauge& gauge, int index, uint32_t argument) {
    if (index < 0 || index > 6) throw HostError("standard routine index " + std::to_string(index) + " outside 0..6");
    const Address fn = gauge.routines[index];
    if (!fn) return;
    if (index == 1 || index == 4)  // install, generate
        backend_.call_routine(fn, argument);
    else
        backend_.call_routine(fn);
}

void Host::element_list(int service_index, Address element, uint32_t arg) {
    service_calls_.push_back({service_index, element, arg});
}

void Host::trigger_key_event(uint32_t event, uint32_t parameter) {
    key_events_.push_back({event, parameter, tick_count_});
}

Image Host::render(const Gauge& gauge) { return render_gauge(gauge, states_.at(gauge.index), bitmaps_); }

}  // namespace zephel
