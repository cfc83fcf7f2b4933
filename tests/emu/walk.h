// Walks the shipped module's records in emulated memory at the simulator's
// 32-bit offsets, for the tests.
#pragma once

#include <string>
#include <vector>

#include "host/emu/emulated_module.h"

namespace emu_test {

// Offsets from the simulator's record layout.
constexpr uint32_t LINKAGE_GAUGES = 24;
constexpr uint32_t GAUGE_NAME = 4, GAUGE_ELEMENTS = 8, GAUGE_ROUTINES = 12, GAUGE_MOUSE = 80;
constexpr uint32_t ELEMENT_KIND = 0, ELEMENT_CHILDREN = 40;
constexpr uint32_t BINDING_VALUE = 12;
constexpr uint32_t MOUSE_ROW_SIZE = 44, MOUSE_ROW_FUNCTION = 36;

inline std::vector<uint32_t> gauge_headers(const emu::EmulatedModule& m) {
    std::vector<uint32_t> out;
    const uint32_t linkage = m.export_address("Linkage");
    for (uint32_t h; (h = m.read_u32(linkage + LINKAGE_GAUGES + 4 * static_cast<uint32_t>(out.size()))) != 0;)
        out.push_back(h);
    return out;
}

inline std::string gauge_name(const emu::EmulatedModule& m, uint32_t header) {
    return m.read_cstr(m.read_u32(header + GAUGE_NAME));
}

inline uint32_t root_element(const emu::EmulatedModule& m, uint32_t header) {
    return m.read_u32(m.read_u32(header + GAUGE_ELEMENTS));
}

// The root, then each only child.
inline std::vector<uint32_t> elements(const emu::EmulatedModule& m, uint32_t header) {
    std::vector<uint32_t> out;
    for (uint32_t e = root_element(m, header); e != 0;) {
        out.push_back(e);
        const uint32_t children = m.read_u32(e + ELEMENT_CHILDREN);
        e = children ? m.read_u32(children) : 0;
    }
    return out;
}

// One value callback of one element: where it is named and which binding it reads.
struct CallbackSite {
    std::string gauge;
    uint32_t element;
    uint32_t callback;
    uint32_t binding;  // the binding whose current value the callback reads
    std::string axis;
};

inline std::vector<CallbackSite> callback_sites(const emu::EmulatedModule& m) {
    std::vector<CallbackSite> out;
    for (uint32_t h : gauge_headers(m)) {
        const std::string name = gauge_name(m, h);
        for (uint32_t e : elements(m, h)) {
            auto add = [&](uint32_t field, uint32_t binding, const char* axis) {
                if (uint32_t cb = m.read_u32(e + field)) out.push_back({name, e, cb, e + binding, axis});
            };
            switch (m.read_u32(e + ELEMENT_KIND)) {
                case 4: add(132, 60, "icon"); break;
                case 5: add(244, 60, "x"); add(248, 112, "y"); break;
                case 6: add(316, 60, "x"); add(320, 100, "y"); add(324, 140, "rotation"); break;
                default: break;
            }
        }
    }
    return out;
}

struct MouseSite {
    std::string gauge;
    int row;
    uint32_t function;
};

inline std::vector<MouseSite> mouse_sites(const emu::EmulatedModule& m) {
    std::vector<MouseSite> out;
    for (uint32_t h : gauge_headers(m)) {
        uint32_t row = m.read_u32(h + GAUGE_MOUSE);
        for (int i = 0; row && m.read_u32(row) != 0; ++i, row += MOUSE_ROW_SIZE)
            if (uint32_t fn = m.read_u32(row + MOUSE_ROW_FUNCTION)) out.push_back({gauge_name(m, h), i, fn});
    }
    return out;
}

}  // namespace emu_test
