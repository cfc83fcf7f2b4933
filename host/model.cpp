// Reading the module's records into the host's model, through the backend.
#include "host/model.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <set>

namespace zephel {
namespace {

// Bounds no sane module reaches; they keep a corrupt record from running away.
constexpr size_t kMaxGauges = 256;
constexpr size_t kMaxElements = 256;
constexpr size_t kMaxTableEntries = 1024;
constexpr size_t kMaxFailures = 256;
constexpr size_t kMaxMouseRows = 1024;
constexpr size_t kMaxNameLength = 256;

std::string hex(Address a) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(a));
    return buf;
}

class Reader {
public:
    explicit Reader(const Backend& b) : b_(b), l_(b.layout()) {}

    Module module() {
        Module m;
        const Address linkage = b_.linkage_address();
        m.module_id = b_.read_u32(linkage + l_.linkage.module_id);
        m.module_init = b_.read_pointer(linkage + l_.linkage.module_init);
        m.module_deinit = b_.read_pointer(linkage + l_.linkage.module_deinit);
        for (size_t i = 0;; ++i) {
            if (i >= kMaxGauges) throw HostError("Linkage: gauge table has no terminating null");
            const Address header = b_.read_pointer(linkage + l_.linkage.gauges + i * l_.pointer_size);
            if (!header) break;
            m.gauges.push_back(gauge(header, static_cast<int>(i)));
        }
        return m;
    }

private:
    Gauge gauge(Address header, int index) {
        Gauge g;
        g.header = header;
        g.index = index;
        g.version = b_.read_u32(header + l_.gauge.version);
        const Address name = b_.read_pointer(header + l_.gauge.name);
        if (!name) throw HostError("gauge " + std::to_string(index) + " has no name");
        g.name = b_.read_cstring(name, kMaxNameLength);
        g.default_size_mm = b_.read_u32(header + l_.gauge.default_size);
        for (int r = 0; r < 7; ++r) g.routines[r] = b_.read_pointer(header + l_.gauge.routines + r * l_.pointer_size);

        // The element tree, depth first: each element, then its children.
        const Address list = b_.read_pointer(header + l_.gauge.elements);
        std::set<Address> seen;
        if (list) element_list(g, list, seen, 0);

        const Address mouse = b_.read_pointer(header + l_.gauge.mouse_table);
        if (mouse) {
            for (size_t i = 0;; ++i) {
                if (i >= kMaxMouseRows) throw HostError(g.name + ": mouse table has no end row");
                const MouseRow row = mouse_row(mouse + i * l_.mouse_row.size);
                g.mouse_rows.push_back(row);
                if (row.type == kRowParent && g.help_id == 0) g.help_id = row.help_id;
                if (row.type == kRowEnd) break;
            }
        }
        return g;
    }

    void element_list(Gauge& g, Address list, std::set<Address>& seen, int depth) {
        if (depth > static_cast<int>(kMaxElements)) throw HostError(g.name + ": element tree too deep");
        for (size_t i = 0;; ++i) {
            if (i >= kMaxElements) throw HostError(g.name + ": element list has no terminating null");
            const Address e = b_.read_pointer(list + i * l_.pointer_size);
            if (!e) break;
            if (!seen.insert(e).second) throw HostError(g.name + ": element " + hex(e) + " appears twice in its tree");
            if (g.elements.size() >= kMaxElements) throw HostError(g.name + ": too many elements");
            g.elements.push_back(element(g, e));
            const Address children = b_.read_pointer(e + l_.element.children);
            if (children) element_list(g, children, seen, depth + 1);
        }
    }

    Binding binding(Address a) { return Binding{a, b_.read_u32(a + l_.binding.token)}; }

    Element element(const Gauge& g, Address a) {
        Element e;
        e.address = a;
        const uint32_t kind = b_.read_u32(a + l_.element.kind);
        e.bitmap = b_.read_u32(a + l_.element.bitmap);
        e.position_x = b_.read_i32(a + l_.element.position_x);
        e.position_y = b_.read_i32(a + l_.element.position_y);
        e.offset_x = b_.read_i32(a + l_.element.offset_x);
        e.offset_y = b_.read_i32(a + l_.element.offset_y);
        e.draw_flags = b_.read_u32(a + l_.element.draw_flags);
        e.failure_list = b_.read_pointer(a + l_.element.failures);
        if (e.failure_list) {
            for (size_t i = 0;; ++i) {
                if (i >= kMaxFailures) throw HostError(g.name + ": failure list has no key-0 end");
                const Address f = e.failure_list + i * l_.failure.size;
                const FailureEntry entry{b_.read_u32(f + l_.failure.key), b_.read_u32(f + l_.failure.action)};
                if (entry.key == 0) break;
                e.failures.push_back(entry);
            }
        }
        switch (kind) {
        case 0:
            e.kind = ElementKind::StaticImage;
            break;
        case 1: {
            e.kind = ElementKind::Needle;
            e.source = binding(a + l_.needle.source);
            const Address table = b_.read_pointer(a + l_.needle.table);
            const uint32_t count = b_.read_u32(a + l_.needle.entry_count);
            if (count > kMaxTableEntries) throw HostError(g.name + ": needle table of " + std::to_string(count) + " entries");
            if (count && !table) throw HostError(g.name + ": needle has entries but no table");
            for (uint32_t i = 0; i < count; ++i) {
                const Address n = table + i * l_.nonlinearity.size;
                e.table.push_back({b_.read_i32(n + l_.nonlinearity.x), b_.read_i32(n + l_.nonlinearity.y),
                                   b_.read_f64(n + l_.nonlinearity.value)});
            }
            e.turn_limit = b_.read_i32(a + l_.needle.turn_limit);
            break;
        }
        case 3:
            e.kind = ElementKind::Slider;
            e.source_x = binding(a + l_.slider.source_x);
            e.scale_x = b_.read_f64(a + l_.slider.scale_x);
            e.source_y = binding(a + l_.slider.source_y);
            e.scale_y = b_.read_f64(a + l_.slider.scale_y);
            break;
        case 4:
            e.kind = ElementKind::Icon;
            e.source = binding(a + l_.icon.source);
            e.icon_mode = b_.read_i32(a + l_.icon.icon_mode);
            e.icon_scale = b_.read_f64(a + l_.icon.scale);
            e.icon_offset = b_.read_i32(a + l_.icon.offset);
            e.picture_count = b_.read_i32(a + l_.icon.picture_count);
            e.callback = b_.read_pointer(a + l_.icon.callback);
            break;
        case 5:
            e.kind = ElementKind::MovingImage;
            e.source_x = binding(a + l_.moving_image.source_x);
            e.min_x = b_.read_f64(a + l_.moving_image.min_x);
            e.max_x = b_.read_f64(a + l_.moving_image.max_x);
            e.source_y = binding(a + l_.moving_image.source_y);
            e.min_y = b_.read_f64(a + l_.moving_image.min_y);
            e.max_y = b_.read_f64(a + l_.moving_image.max_y);
            e.callback_x = b_.read_pointer(a + l_.moving_image.callback_x);
            e.callback_y = b_.read_pointer(a + l_.moving_image.callback_y);
            break;
        case 6:
            e.kind = ElementKind::Sprite;
            e.source_x = binding(a + l_.sprite.source_x);
            e.scale_x = b_.read_f64(a + l_.sprite.scale_x);
            e.source_y = binding(a + l_.sprite.source_y);
            e.scale_y = b_.read_f64(a + l_.sprite.scale_y);
            e.source_rotation = binding(a + l_.sprite.source_rotation);
            e.scale_rotation = b_.read_f64(a + l_.sprite.scale_rotation);
            e.texture_scale_x = b_.read_f32(a + l_.sprite.texture_scale_x);
            e.texture_scale_y = b_.read_f32(a + l_.sprite.texture_scale_y);
            e.callback_x = b_.read_pointer(a + l_.sprite.callback_x);
            e.callback_y = b_.read_pointer(a + l_.sprite.callback_y);
            e.callback_rotation = b_.read_pointer(a + l_.sprite.callback_rotation);
            break;
        default:
            throw HostError(g.name + ": element " + hex(a) + " has unknown kind " + std::to_string(kind));
        }
        return e;
    }

    MouseRow mouse_row(Address r) {
        MouseRow row;
        row.type = b_.read_u32(r + l_.mouse_row.row_type);
        row.x = b_.read_i32(r + l_.mouse_row.box_x);
        row.y = b_.read_i32(r + l_.mouse_row.box_y);
        row.width = b_.read_i32(r + l_.mouse_row.box_width);
        row.height = b_.read_i32(r + l_.mouse_row.box_height);
        row.cursor = b_.read_i32(r + l_.mouse_row.cursor);
        row.help_id = b_.read_u32(r + l_.mouse_row.help_id);
        row.flags = b_.read_u32(r + l_.mouse_row.mouse_flags);
        row.event = b_.read_u32(r + l_.mouse_row.event);
        row.function = b_.read_pointer(r + l_.mouse_row.function);
        return row;
    }

    const Backend& b_;
    const RecordLayout& l_;
};

}  // namespace

const char* kind_name(ElementKind kind) {
    switch (kind) {
    case ElementKind::StaticImage: return "static image";
    case ElementKind::Needle: return "needle";
    case ElementKind::Slider: return "slider";
    case ElementKind::Icon: return "icon";
    case ElementKind::MovingImage: return "moving image";
    case ElementKind::Sprite: return "sprite";
    }
    return "unknown";
}

std::vector<const MouseRow*> Gauge::child_rows() const {
    std::vector<const MouseRow*> rows;
    for (const MouseRow& r : mouse_rows)
        if (r.type == kRowChild) rows.push_back(&r);
    return rows;
}

std::vector<uint32_t> Gauge::tokens() const {
    std::vector<uint32_t> out;
    for (const Element& e : elements)
        for (const Binding* b : {&e.source, &e.source_x, &e.source_y, &e.source_rotation})
            if (b->bound() && std::find(out.begin(), out.end(), b->token) == out.end()) out.push_back(b->token);
    return out;
}

std::vector<uint32_t> Gauge::failure_keys() const {
    std::vector<uint32_t> out;
    for (const Element& e : elements)
        for (const FailureEntry& f : e.failures)
            if (std::find(out.begin(), out.end(), f.key) == out.end()) out.push_back(f.key);
    return out;
}

const Gauge* Module::find(std::string_view name) const {
    for (const Gauge& g : gauges)
        if (g.name == name) return &g;
    return nullptr;
}

const Gauge& Module::gauge(std::string_view name) const {
    if (const Gauge* g = find(name)) return *g;
    std::string valid;
    for (const Gauge& g : gauges) valid += (valid.empty() ? "\"" : ", \"") + g.name + "\"";
    throw HostError("unknown gauge \"" + std::string(name) + "\"; the module has " + valid);
}

Module read_module(const Backend& backend) { return Reader(backend).module(); }

}  // namespace zephel
