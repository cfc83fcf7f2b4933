#include "host/emu/record_check.h"

#include <cstdio>
#include <initializer_list>
#include <set>

namespace emu {

namespace {

constexpr int MAX_WALK = 256;  // gauges, elements, rows or entries before a list counts as unterminated

struct Range {
    uint32_t from, to;  // bytes [from, to) of the record
};

struct KindLayout {
    const char* name;
    uint32_t size;
    std::vector<uint32_t> bindings;   // token bindings: bytes 4..27 of each are host-owned
    std::vector<Range> host;          // further host-owned bytes
    std::vector<uint32_t> routines;   // value callback fields
};

// The simulator's element kinds; the header's own host bytes (previous
// position, previous element) come on top of these.
const KindLayout* kind_layout(uint32_t kind) {
    static const KindLayout STATIC_IMAGE{"static image", 96, {}, {{60, 96}}, {}};
    static const KindLayout NEEDLE{"needle", 236, {60}, {{88, 112}, {124, 236}}, {}};
    static const KindLayout SLIDER{"slider", 192, {60, 104}, {{88, 92}, {100, 104}, {132, 136}, {144, 192}}, {}};
    static const KindLayout ICON{"icon", 140, {60}, {{88, 92}, {96, 100}, {116, 132}, {136, 140}}, {132}};
    static const KindLayout MOVING_IMAGE{
        "moving image", 268, {60, 112}, {{88, 92}, {108, 112}, {140, 144}, {160, 244}, {252, 268}}, {244, 248}};
    static const KindLayout SPRITE{"sprite", 352, {60, 100, 140},
                                   {{88, 92}, {128, 132}, {168, 172}, {188, 316}, {328, 352}}, {316, 320, 324}};
    switch (kind) {
        case 0: return &STATIC_IMAGE;
        case 1: return &NEEDLE;
        case 3: return &SLIDER;
        case 4: return &ICON;
        case 5: return &MOVING_IMAGE;
        case 6: return &SPRITE;
        default: return nullptr;
    }
}

class Checker {
public:
    explicit Checker(const EmulatedModule& m) : m_(m) {}
    std::vector<std::string> faults;

    void run() {
        const uint32_t linkage = m_.export_address("Linkage");
        if (!data(linkage, 28, "Linkage")) return;
        routine(linkage, 4, "Linkage", "module init routine", false);
        routine(linkage, 8, "Linkage", "module deinit routine", false);
        for (int i = 0;; ++i) {
            const uint32_t slot = linkage + 24 + 4 * static_cast<uint32_t>(i);
            if (i >= MAX_WALK || !data(slot, 4, "Linkage's gauge table")) return fault("Linkage's gauge table has no end");
            const uint32_t header = m_.read_u32(slot);
            if (header == 0) break;
            gauge(header, i);
        }
    }

private:
    const EmulatedModule& m_;
    std::set<uint32_t> seen_;

    void fault(const std::string& text) { faults.push_back(text); }

    static std::string hex(uint32_t v) {
        char t[16];
        std::snprintf(t, sizeof t, "0x%x", v);
        return t;
    }

    // A record must lie wholly in a writable section of the image.
    bool data(uint32_t address, uint32_t size, const std::string& what) {
        if (!m_.in_image(address) || !m_.in_image(address + size - 1)) {
            fault(what + " at " + hex(address) + " lies outside the module's image");
            return false;
        }
        const PeSection* s = m_.image().section_at(address - m_.base());
        if (!s || !s->writable() || address + size - m_.base() > s->rva + s->virtual_size) {
            fault(what + " at " + m_.describe(address) + " is not in the module's writable data");
            return false;
        }
        return true;
    }

    void routine(uint32_t record, uint32_t offset, const std::string& owner, const std::string& field, bool may_be_null) {
        const uint32_t target = m_.read_u32(record + offset);
        if (target == 0) {
            if (!may_be_null) fault(owner + ": " + field + " is null");
            return;
        }
        const PeSection* s = m_.in_image(target) ? m_.image().section_at(target - m_.base()) : nullptr;
        if (!s || !s->executable())
            fault(owner + ": " + field + " (offset " + std::to_string(offset) + ") points at " + m_.describe(target) +
                  ", which is not code of the module");
    }

    void zero(uint32_t record, Range r, const std::string& owner, const char* hint) {
        for (uint32_t at = r.from; at < r.to; at += 4) {
            const uint32_t v = m_.read_u32(record + at);
            if (v != 0) {
                fault(owner + ": bytes " + std::to_string(r.from) + ".." + std::to_string(r.to - 1) +
                      " must be zero as stored, but offset " + std::to_string(at) + " holds " + hex(v) + hint);
                return;
            }
        }
    }

    void gauge(uint32_t header, int index) {
        const std::string at = "gauge " + std::to_string(index);
        if (!data(header, 252, at + " header")) return;
        const uint32_t name_ptr = m_.read_u32(header + 4);
        std::string name = at;
        if (!m_.in_image(name_ptr)) {
            fault(at + ": name pointer " + hex(name_ptr) + " lies outside the image");
        } else {
            name = "\"" + m_.read_cstr(name_ptr) + "\"";
        }
        const std::string owner = "gauge " + name + " header at " + m_.describe(header);
        for (uint32_t i = 0; i < 7; ++i) routine(header, 12 + 4 * i, owner, "standard routine " + std::to_string(i), false);
        for (Range r : {Range{40, 44}, Range{48, 80}, Range{84, 252}}) zero(header, r, owner, "");
        const uint32_t list = m_.read_u32(header + 8);
        if (data(list, 8, "gauge " + name + " element list")) {
            if (m_.read_u32(list + 4) != 0) fault("gauge " + name + ": the element list holds more than one element");
            element_chain(m_.read_u32(list), name);
        }
        const uint32_t mouse = m_.read_u32(header + 80);
        if (mouse != 0) mouse_rows(mouse, name);
    }

    void element_chain(uint32_t element, const std::string& gauge_name) {
        for (int i = 0; element != 0; ++i) {
            if (i >= MAX_WALK || !seen_.insert(element).second) {
                if (i >= MAX_WALK) fault("gauge " + gauge_name + ": the element tree has no end");
                return;
            }
            if (!data(element, 60, "gauge " + gauge_name + " element " + std::to_string(i))) return;
            const uint32_t kind = m_.read_u32(element);
            const KindLayout* k = kind_layout(kind);
            const std::string owner = "gauge " + gauge_name + ", element " + std::to_string(i) + " (" +
                                      (k ? k->name : "kind " + std::to_string(kind)) + ") at " + m_.describe(element);
            if (!k) return fault(owner + ": unknown element kind");
            if (!data(element, k->size, owner)) return;
            const char* hint = "; its fields are not at the simulator's offsets (is the record packed to more than 4 bytes?)";
            zero(element, {16, 24}, owner, hint);
            zero(element, {36, 40}, owner, hint);
            for (uint32_t b : k->bindings) zero(element, {b + 4, b + 28}, owner, hint);
            for (Range r : k->host) zero(element, r, owner, hint);
            for (uint32_t r : k->routines) routine(element, r, owner, "value callback", true);
            const uint32_t failures = m_.read_u32(element + 44);
            if (failures) failure_list(failures, owner);
            if (kind == 1) nonlinearity(element, owner);
            const uint32_t children = m_.read_u32(element + 40);
            if (children == 0) return;
            if (!data(children, 8, owner + " children list")) return;
            if (m_.read_u32(children + 4) != 0) fault(owner + ": the children list holds more than one element");
            element = m_.read_u32(children);
        }
    }

    void failure_list(uint32_t list, const std::string& owner) {
        for (int i = 0;; ++i, list += 12) {
            if (i >= MAX_WALK || !data(list, 12, owner + " failure list")) return fault(owner + ": the failure list has no end");
            zero(list, {8, 12}, owner + " failure record " + std::to_string(i), "");
            if (m_.read_u32(list) == 0) return;
        }
    }

    void nonlinearity(uint32_t needle, const std::string& owner) {
        const uint32_t table = m_.read_u32(needle + 112);
        const uint32_t count = m_.read_u32(needle + 116);
        if (count == 0 || count > MAX_WALK) return fault(owner + ": implausible nonlinearity entry count " + std::to_string(count));
        if (!data(table, 24 * count, owner + " nonlinearity table")) return;
        for (uint32_t i = 0; i < count; ++i)
            zero(table + 24 * i, {16, 24}, owner + " nonlinearity entry " + std::to_string(i), "");
    }

    void mouse_rows(uint32_t row, const std::string& gauge_name) {
        for (int i = 0;; ++i, row += 44) {
            const std::string owner = "gauge " + gauge_name + " mouse row " + std::to_string(i);
            if (i >= MAX_WALK || !data(row, 44, owner)) return fault("gauge " + gauge_name + ": the mouse table has no end");
            routine(row, 36, owner, "mouse function", true);
            zero(row, {40, 44}, owner, "");
            if (m_.read_u32(row) == 0) return;
        }
    }
};

}  // namespace

std::vector<std::string> check_records(const EmulatedModule& module) {
    Checker c(module);
    c.run();
    return c.faults;
}

}  // namespace emu
