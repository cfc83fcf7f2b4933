// The same values through both builds of the module: the linked native
// module and the shipped .gau in the emulator. Every value callback must
// return the same bit pattern and send the same key events for not-a-number
// payloads, infinities, signed zeros, subnormals, the neighbours of every
// threshold and random values; every mouse function the same result and
// events.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "host/emu/emulated_backend.h"
#include "host/native_backend.h"

namespace {

using zephel::Address;
using zephel::Backend;

struct Recorder final : zephel::PanelServices {
    std::vector<std::pair<uint32_t, uint32_t>> events;
    int element_calls = 0;
    void element_list(int, Address, uint32_t) override { ++element_calls; }
    void trigger_key_event(uint32_t event, uint32_t parameter) override { events.push_back({event, parameter}); }
};

struct Site {
    std::string where;  // gauge, element index, axis
    Address element;
    Address routine;
    Address value;      // the current value of the binding the callback reads
};

// Walks Linkage through the backend's own record layout.
std::vector<Site> callback_sites(const Backend& b) {
    const zephel::RecordLayout& l = b.layout();
    std::vector<Site> out;
    for (uint32_t g = 0;; ++g) {
        const Address h = b.read_pointer(b.linkage_address() + l.linkage.gauges + g * l.pointer_size);
        if (h == 0) break;
        const std::string name = b.read_cstring(b.read_pointer(h + l.gauge.name));
        Address e = b.read_pointer(b.read_pointer(h + l.gauge.elements));
        for (int i = 0; e != 0; ++i) {
            auto add = [&](uint32_t callback, uint32_t source, const char* axis) {
                if (Address fn = b.read_pointer(e + callback))
                    out.push_back({name + " element " + std::to_string(i) + " " + axis, e, fn, e + source + l.binding.value});
            };
            switch (b.read_u32(e + l.element.kind)) {
                case 4: add(l.icon.callback, l.icon.source, "icon"); break;
                case 5:
                    add(l.moving_image.callback_x, l.moving_image.source_x, "x");
                    add(l.moving_image.callback_y, l.moving_image.source_y, "y");
                    break;
                case 6:
                    add(l.sprite.callback_x, l.sprite.source_x, "x");
                    add(l.sprite.callback_y, l.sprite.source_y, "y");
                    add(l.sprite.callback_rotation, l.sprite.source_rotation, "rotation");
                    break;
                default: break;
            }
            const Address children = b.read_pointer(e + l.element.children);
            e = children ? b.read_pointer(children) : 0;
        }
    }
    return out;
}

std::vector<Site> mouse_sites(const Backend& b) {
    const zephel::RecordLayout& l = b.layout();
    std::vector<Site> out;
    for (uint32_t g = 0;; ++g) {
        const Address h = b.read_pointer(b.linkage_address() + l.linkage.gauges + g * l.pointer_size);
        if (h == 0) break;
        const std::string name = b.read_cstring(b.read_pointer(h + l.gauge.name));
        Address row = b.read_pointer(h + l.gauge.mouse_table);
        for (int i = 0; row && b.read_u32(row + l.mouse_row.row_type) != 0; ++i, row += l.mouse_row.size)
            if (Address fn = b.read_pointer(row + l.mouse_row.function))
                out.push_back({name + " mouse row " + std::to_string(i), 0, fn, 0});
    }
    return out;
}

double from_bits(uint64_t bits) { return std::bit_cast<double>(bits); }

// Specials, the neighbours of every threshold the callbacks compare
// against, and random values.
std::vector<double> test_values() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {
        0.0, -0.0, inf, -inf,
        from_bits(0x7FF8000000000000ull), from_bits(0xFFF8000000000000ull),  // quiet NaNs
        from_bits(0x7FF8DEADBEEF1234ull), from_bits(0xFFFC0000CAFE0001ull),  // quiet NaNs with payloads
        from_bits(0x7FF0000000000001ull), from_bits(0xFFF4000000000000ull),  // signalling NaNs
        std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
        from_bits(0x000FFFFFFFFFFFFFull), from_bits(0x800FFFFFFFFFFFFFull),  // largest subnormals
        DBL_MIN, -DBL_MIN, DBL_MAX, -DBL_MAX, 1.0, -1.0,
    };
    // 97.19 kt (slats), 16383 (gear down), +-43 (pitch), 0 and 360 (strips),
    // and the values on either side of 180 and 90 that the strips pass.
    for (double t : {97.19, 180.0 / 1.852, 16383.0, 43.0, -43.0, 0.0, 360.0, 180.0, 90.0, 720.0, -360.0}) {
        double up = t, down = t;
        v.push_back(t);
        for (int i = 0; i < 3; ++i) {
            up = std::nextafter(up, inf);
            down = std::nextafter(down, -inf);
            v.push_back(up);
            v.push_back(down);
        }
        v.push_back(t + 0.001);
        v.push_back(t - 0.001);
    }
    std::mt19937_64 rng(20260101);
    std::uniform_real_distribution<double> range(-1000.0, 20000.0);
    for (int i = 0; i < 2000; ++i) {
        v.push_back(from_bits(rng()));  // any bit pattern, NaNs and subnormals included
        v.push_back(range(rng));
    }
    return v;
}

std::string bits(double d) {
    char t[40];
    std::snprintf(t, sizeof t, "%.17g (0x%016llx)", d, static_cast<unsigned long long>(std::bit_cast<uint64_t>(d)));
    return t;
}

class BothBuilds : public ::testing::Test {
protected:
    zephel::NativeBackend native;
    zephel::EmulatedBackend emulated{ZEPHEL_GAU_PATH};
    Recorder native_services, emulated_services;

    void SetUp() override {
        native.install_services(native_services);
        emulated.install_services(emulated_services);
    }
    void TearDown() override {
        native.uninstall_services(native_services);
        emulated.uninstall_services(emulated_services);
    }
};

TEST_F(BothBuilds, FindTheSameCallbacksAndMouseFunctions) {
    const auto a = callback_sites(native), b = callback_sites(emulated);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].where, b[i].where);
    const auto ma = mouse_sites(native), mb = mouse_sites(emulated);
    ASSERT_EQ(ma.size(), mb.size());
    for (size_t i = 0; i < ma.size(); ++i) EXPECT_EQ(ma[i].where, mb[i].where);
}

TEST_F(BothBuilds, ValueCallbacksAgreeBitForBitWithTheSameEvents) {
    const auto a = callback_sites(native), b = callback_sites(emulated);
    ASSERT_EQ(a.size(), b.size());
    const std::vector<double> values = test_values();
    for (size_t s = 0; s < a.size(); ++s) {
        SCOPED_TRACE(a[s].where);
        int mismatches = 0;
        for (double value : values) {
            native_services.events.clear();
            emulated_services.events.clear();
            native.write_f64(a[s].value, value);
            emulated.write_f64(b[s].value, value);
            const double n = native.call_value_callback(a[s].routine, a[s].element);
            const double e = emulated.call_value_callback(b[s].routine, b[s].element);
            if (std::bit_cast<uint64_t>(n) != std::bit_cast<uint64_t>(e) ||
                native_services.events != emulated_services.events) {
                ADD_FAILURE() << "value " << bits(value) << ": native " << bits(n) << " with "
                              << native_services.events.size() << " events, emulated " << bits(e) << " with "
                              << emulated_services.events.size() << " events";
                if (++mismatches == 5) break;  // enough to see the pattern
            }
        }
        EXPECT_EQ(native_services.element_calls, 0);
        EXPECT_EQ(emulated_services.element_calls, 0);
    }
}

TEST_F(BothBuilds, MouseFunctionsAgree) {
    const auto a = mouse_sites(native), b = mouse_sites(emulated);
    ASSERT_EQ(a.size(), b.size());
    std::mt19937 rng(7);
    for (size_t s = 0; s < a.size(); ++s) {
        SCOPED_TRACE(a[s].where);
        for (int i = 0; i < 20; ++i) {
            const auto x = static_cast<int32_t>(rng()), y = static_cast<int32_t>(rng());
            const uint32_t flags = i % 2 ? 0x20000000u : rng();
            native_services.events.clear();
            emulated_services.events.clear();
            EXPECT_EQ(native.call_mouse_function(a[s].routine, x, y, flags),
                      emulated.call_mouse_function(b[s].routine, x, y, flags));
            EXPECT_EQ(native_services.events, emulated_services.events);
            EXPECT_EQ(native_services.events.size(), 1u);
        }
    }
}

}  // namespace
