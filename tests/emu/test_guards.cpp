// The guards of the emulated backend, each shown firing on a deliberately
// wrong fixture module with the message a developer would need.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/emu/emulated_backend.h"
#include "host/emu/record_check.h"
#include "walk.h"

namespace {

using emu::EmulatedModule;
using emu::PeImage;
using namespace emu_test;

std::string fault_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const zephel::HostError& e) {
        return e.what();
    }
    return "(no fault)";
}

struct GuardCase {
    const char* gauge;
    bool mouse;                    // the gauge's mouse function, else its value callback
    std::vector<std::string> says;  // fragments of the message, in order
};

class Guard : public ::testing::TestWithParam<GuardCase> {};

TEST_P(Guard, FiresWithAClearMessage) {
    const GuardCase& c = GetParam();
    EmulatedModule m(PeImage::load(WRONG_MODULE_PATH), {.instruction_limit = 5000});
    m.install_services_table();
    std::string message;
    if (c.mouse) {
        const auto sites = mouse_sites(m);
        auto it = std::find_if(sites.begin(), sites.end(), [&](auto& s) { return s.gauge == c.gauge; });
        ASSERT_NE(it, sites.end());
        message = fault_of([&] { m.call_mouse_function(it->function, 1, 2, 0x20000000u, c.gauge); });
    } else {
        const auto sites = callback_sites(m);
        auto it = std::find_if(sites.begin(), sites.end(), [&](auto& s) { return s.gauge == c.gauge; });
        ASSERT_NE(it, sites.end());
        m.write_f64(it->binding + BINDING_VALUE, 42.0);
        message = fault_of([&] { m.call_value_callback(it->callback, it->element, c.gauge); });
    }
    size_t at = 0;
    for (const std::string& part : c.says) {
        at = message.find(part, at);
        ASSERT_NE(at, std::string::npos) << "missing \"" << part << "\" in: " << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    WrongModule, Guard,
    ::testing::Values(
        GuardCase{"Wrong_Convention", false,
                  {"Wrong_Convention: removed 0 bytes of arguments from the stack, but takes 4", "__stdcall"}},
        GuardCase{"Wrong_Convention", true,
                  {"Wrong_Convention: removed 0 bytes of arguments from the stack, but takes 8"}},
        GuardCase{"Record_Writer", false,
                  {"Record_Writer: code at 0x1000", "(.text+", "wrote 8 bytes at 0x1000", "(.data+",
                   "inside the module's own image"}},
        GuardCase{"Runaway", false, {"Runaway: did not return within 5000 instructions", "(.text+"}},
        GuardCase{"Data_Runner", false, {"Data_Runner: executed 0x1000", "(.data+", "not code of the module"}},
        GuardCase{"Unknown_Service", true,
                  {"Unknown_Service: called panel services entry 30 (byte offset 0x78), which the module never calls"}},
        GuardCase{"Register_Thief", true, {"Register_Thief: did not preserve EBX"}},
        GuardCase{"Integer_Result", false, {"Integer_Result: left 0 values on the x87 stack, expected 1"}}),
    [](const auto& info) { return std::string(info.param.gauge) + (info.param.mouse ? "_Mouse" : "_Callback"); });

// A call stopped by a guard leaves the machine fit for the next call.
TEST(Guard, AfterAGuardFiresTheNextCallRunsCleanly) {
    EmulatedModule m(PeImage::load(WRONG_MODULE_PATH), {.instruction_limit = 5000});
    m.install_services_table();
    const auto sites = callback_sites(m);
    auto runaway = std::find_if(sites.begin(), sites.end(), [](auto& s) { return s.gauge == "Runaway"; });
    auto packed = std::find_if(sites.begin(), sites.end(), [](auto& s) { return s.gauge == "Packed_Eight"; });
    ASSERT_NE(runaway, sites.end());
    EXPECT_THROW(m.call_value_callback(runaway->callback, runaway->element, "Runaway"), emu::EmulationFault);
    // Packed_Eight's icon stores its callback four bytes late: the
    // simulator's offset holds nothing.
    EXPECT_EQ(packed, sites.end());
    const uint32_t icon = elements(m, gauge_headers(m).at(0)).at(1);
    const uint32_t late_callback = m.read_u32(icon + 136);
    m.write_f64(icon + 60 + BINDING_VALUE, 42.0);
    EXPECT_EQ(m.call_value_callback(late_callback, icon, "packed icon callback"), 42.0);
}

// A record packed to 8 bytes moves fields into host-owned bytes: the layout
// check at load names the gauge, the record and the offset.
TEST(RecordCheck, CatchesTheRecordPackedToEightBytes) {
    EmulatedModule m(PeImage::load(WRONG_MODULE_PATH));
    const auto faults = emu::check_records(m);
    ASSERT_FALSE(faults.empty());
    const std::string& f = faults.front();
    EXPECT_NE(f.find("gauge \"Packed_Eight\", element 1 (icon) at 0x1000"), std::string::npos) << f;
    EXPECT_NE(f.find("offset 116 holds 0x2"), std::string::npos) << f;  // picture count, four bytes late
    EXPECT_NE(f.find("packed to more than 4 bytes"), std::string::npos) << f;
    for (const std::string& other : faults) EXPECT_NE(other.find("Packed_Eight"), std::string::npos) << other;

    const std::string refused = fault_of([] { zephel::EmulatedBackend backend(WRONG_MODULE_PATH); });
    EXPECT_NE(refused.find(std::string(WRONG_MODULE_PATH) + ": the records do not have the simulator's layout"),
              std::string::npos)
        << refused;
}

TEST(RecordCheck, ShippedModulePasses) {
    EmulatedModule m(PeImage::load(ZEPHEL_GAU_PATH));
    const auto faults = emu::check_records(m);
    EXPECT_TRUE(faults.empty()) << faults.front();
}

}  // namespace
