// The shipped Rt_Zephel.gau mapped and called in the emulator: exports,
// relocations at a foreign base, resources, and direct calls of its routines
// with their results and service calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "walk.h"

namespace {

using emu::CallKind;
using emu::EmulatedModule;
using emu::PeImage;
using emu::ServiceCall;
using namespace emu_test;

constexpr uint32_t PREFERRED = 0x10000000;
constexpr uint32_t MOVED = 0x30000000;

struct Recorder {
    std::vector<ServiceCall> calls;
    void attach(EmulatedModule& m) {
        m.on_service = [this](const ServiceCall& c) { calls.push_back(c); };
        m.install_services_table();
    }
};

TEST(PeImageOfGau, ExportsByNameAndOrdinalAgree) {
    const PeImage pe = PeImage::load(ZEPHEL_GAU_PATH);
    EXPECT_EQ(pe.image_base(), PREFERRED);
    EXPECT_EQ(pe.export_dll_name(), "Rt_Zephel.gau");
    ASSERT_EQ(pe.exports().size(), 2u);
    EXPECT_EQ(pe.export_rva("ImportTable"), pe.export_rva(1u));
    EXPECT_EQ(pe.export_rva("Linkage"), pe.export_rva(2u));
    EXPECT_NE(pe.export_rva("ImportTable"), pe.export_rva("Linkage"));
    EXPECT_FALSE(pe.export_rva(3u).has_value());
    EXPECT_FALSE(pe.export_rva("DllMain").has_value());
    EXPECT_FALSE(pe.relocations().empty());
}

// Every bitmap resource is the committed picture without its file header.
TEST(PeImageOfGau, BitmapResourcesAreTheCommittedPictures) {
    const PeImage pe = PeImage::load(ZEPHEL_GAU_PATH);
    ASSERT_FALSE(pe.bitmaps().empty());
    for (const auto& [id, dib] : pe.bitmaps()) {
        char name[16];
        std::snprintf(name, sizeof name, "/%04X.bmp", id);
        std::ifstream in(std::string(RESOURCES_DIR) + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(file.size(), 14u);
        EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file.begin() + 14, file.end())) << name;
    }
}

TEST(PeImageOfGau, RejectsFilesThatAreNotA32BitDll) {
    EXPECT_THROW(PeImage::parse({'M', 'Z'}, "tiny"), emu::PeError);
    std::vector<uint8_t> bytes(512, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    try {
        PeImage::parse(bytes, "no-pe.gau");
        FAIL() << "accepted a file without a PE header";
    } catch (const emu::PeError& e) {
        EXPECT_NE(std::string(e.what()).find("no-pe.gau: no PE signature"), std::string::npos) << e.what();
    }
    EXPECT_THROW(PeImage::load("/nonexistent/Rt_Zephel.gau"), zephel::HostError);
}

// Moving the image applies every base relocation: each pointer in Linkage
// moves by the same distance, and the moved code still reaches its records.
TEST(EmulatedGau, RelocationsMoveEveryPointer) {
    EmulatedModule here(PeImage::load(ZEPHEL_GAU_PATH), {.base = PREFERRED});
    EmulatedModule moved(PeImage::load(ZEPHEL_GAU_PATH), {.base = MOVED});
    const auto a = gauge_headers(here), b = gauge_headers(moved);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i] - a[i], MOVED - PREFERRED);
        EXPECT_EQ(gauge_name(here, a[i]), gauge_name(moved, b[i]));
        EXPECT_EQ(root_element(moved, b[i]) - root_element(here, a[i]), MOVED - PREFERRED);
    }
    const uint32_t linkage = moved.export_address("Linkage");
    EXPECT_EQ(moved.read_u32(linkage + 4) - here.read_u32(here.export_address("Linkage") + 4), MOVED - PREFERRED);
}

class AtBase : public ::testing::TestWithParam<uint32_t> {};

TEST_P(AtBase, LibraryEntryReturnsOneForEveryReason) {
    EmulatedModule m(PeImage::load(ZEPHEL_GAU_PATH), {.base = GetParam()});
    for (uint32_t reason = 0; reason <= 3; ++reason) EXPECT_EQ(m.call_library_entry(reason), 1u);
}

// Each of the seven standard routines, through every header, hands the
// first gauge's root element (and its own argument) to its service.
TEST_P(AtBase, StandardRoutinesReachTheirServicesWithTheFirstGaugesRoot) {
    EmulatedModule m(PeImage::load(ZEPHEL_GAU_PATH), {.base = GetParam()});
    Recorder rec;
    rec.attach(m);
    const auto headers = gauge_headers(m);
    const uint32_t root = root_element(m, headers.at(0));
    EXPECT_EQ(gauge_name(m, headers[0]), "AutoSlat_Control");
    for (uint32_t h : headers) {
        SCOPED_TRACE(gauge_name(m, h));
        rec.calls.clear();
        auto routine = [&](int i) { return m.read_u32(h + GAUGE_ROUTINES + 4 * i); };
        m.call_routine(routine(0), "query");
        m.call_routine(routine(1), 0xC0FFEE01u, "install");
        m.call_routine(routine(2), "initialize");
        m.call_routine(routine(3), "update");
        m.call_routine(routine(4), 7u, "generate");
        m.call_routine(routine(5), "draw");
        m.call_routine(routine(6), "kill");
        const std::vector<ServiceCall> expected = {{24, root, 0}, {25, root, 0xC0FFEE01u}, {26, root, 0},
                                                   {27, root, 0}, {28, root, 7},           {29, root, 0},
                                                   {31, root, 0}};
        EXPECT_EQ(rec.calls, expected);
    }
    const uint32_t linkage = m.export_address("Linkage");
    rec.calls.clear();
    m.call(m.read_u32(linkage + 4), CallKind::ModuleRoutine, {}, "module init");
    m.call(m.read_u32(linkage + 8), CallKind::ModuleRoutine, {}, "module deinit");
    EXPECT_TRUE(rec.calls.empty());
}

// The undercarriage lever's callback and click, called as the simulator does.
TEST_P(AtBase, GearCallbackAndClick) {
    EmulatedModule m(PeImage::load(ZEPHEL_GAU_PATH), {.base = GetParam()});
    Recorder rec;
    rec.attach(m);
    const CallbackSite* gear = nullptr;
    const auto sites = callback_sites(m);
    for (const auto& s : sites)
        if (s.gauge == "UnderCarriage_Lever") gear = &s;
    ASSERT_NE(gear, nullptr);
    const struct {
        double position, picture;
    } cases[] = {{0.0, 0.0}, {16382.999, 0.0}, {16383.0, 1.0}, {20000.0, 1.0}, {std::nan(""), 0.0}};
    for (const auto& c : cases) {
        m.write_f64(gear->binding + BINDING_VALUE, c.position);
        EXPECT_EQ(m.call_value_callback(gear->callback, gear->element, "gear_icon_cb"), c.picture) << c.position;
        EXPECT_GT(m.last_instruction_count(), 0u);
    }
    EXPECT_TRUE(rec.calls.empty()) << "the gear callback sends nothing";

    const auto clicks = mouse_sites(m);
    auto click = std::find_if(clicks.begin(), clicks.end(), [](auto& s) { return s.gauge == "UnderCarriage_Lever"; });
    ASSERT_NE(click, clicks.end());
    EXPECT_EQ(m.call_mouse_function(click->function, 50, 60, 0x20000000u, "gear_click"), 1);
    EXPECT_EQ(rec.calls, (std::vector<ServiceCall>{{36, 0x10022, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Bases, AtBase, ::testing::Values(PREFERRED, MOVED),
                         [](const auto& info) { return info.param == PREFERRED ? "Preferred" : "Moved"; });

// A forwarder reached before the simulator has filled ImportTable reads
// through a null table: the emulator stops it with a message.
TEST(EmulatedGau, ServiceCallWithoutServicesTableFaults) {
    EmulatedModule m(PeImage::load(ZEPHEL_GAU_PATH));
    const uint32_t query = m.read_u32(gauge_headers(m).at(0) + GAUGE_ROUTINES);
    try {
        m.call_routine(query, "query");
        FAIL() << "the call went through";
    } catch (const emu::EmulationFault& e) {
        EXPECT_NE(std::string(e.what()).find("query: code at 0x1000"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("not mapped"), std::string::npos) << e.what();
    }
}

}  // namespace
