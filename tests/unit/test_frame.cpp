// The module frame: library entry, Linkage, the standard gauge routines and
// the panel-service forwarders, with the module linked natively.
#include <gtest/gtest.h>

#include <string>

#include "gauges/gauges.h"
#include "recording_services.h"

namespace {

TEST(LibraryEntry, ReturnsOneForEveryReason) {
    int dummy = 0;
    for (uint32_t reason = 0; reason <= 3; ++reason) {
        EXPECT_EQ(DllMain(nullptr, reason, nullptr), 1) << "reason " << reason;
        EXPECT_EQ(DllMain(&dummy, reason, &dummy), 1) << "reason " << reason;
    }
}

TEST(Linkage, HeaderFieldsAndNullTerminatedGaugeTable) {
    EXPECT_EQ(Linkage.module_id, 0x13u);
    EXPECT_EQ(Linkage.module_init, &module_routine);
    EXPECT_EQ(Linkage.module_deinit, &module_routine);
    EXPECT_EQ(Linkage.flags, 0u);
    EXPECT_EQ(Linkage.priority, 0u);
    EXPECT_EQ(Linkage.version, 0u);
    ASSERT_NE(Linkage.gauges[0], nullptr);
    EXPECT_STREQ(Linkage.gauges[0]->name, "AutoSlat_Control");
    int count = 0;
    while (count <= GAUGE_COUNT && Linkage.gauges[count] != nullptr) ++count;
    ASSERT_LE(count, GAUGE_COUNT);
    EXPECT_EQ(Linkage.gauges[count], nullptr);
    EXPECT_EQ(ImportTable.panel_services.id, 0x0Fu);
    EXPECT_EQ(ImportTable.end.id, 0u);
    EXPECT_EQ(ImportTable.end.pointer, nullptr);
}

TEST(Linkage, GaugesAppearInTheirFixedOrder) {
    // Gauges present must keep their relative order in the full table.
    const std::string order[] = {"AutoSlat_Control", "Artificial_Horizon", "UnderCarriage_Lever",
                                 "Flap_Lever",       "GearFlap_Placard",   "Airspeed_Indicator",
                                 "Radio_Altimeter",  "Compass",            "Heading Indicator"};
    int next = 0;
    for (int i = 0; Linkage.gauges[i] != nullptr; ++i) {
        while (next < GAUGE_COUNT && order[next] != Linkage.gauges[i]->name) ++next;
        ASSERT_LT(next, GAUGE_COUNT) << "gauge " << Linkage.gauges[i]->name << " out of order";
    }
}

// Each standard routine reaches its service with the root element of the
// gauge at position 0, whichever header it is called through.
TEST(StandardRoutines, EveryRoutineThroughEveryHeaderReachesTheFirstGaugesRoot) {
    RecordingServices services;
    services.install();
    const auto root = reinterpret_cast<uintptr_t>(Linkage.gauges[0]->elements[0]);
    for (int g = 0; Linkage.gauges[g] != nullptr; ++g) {
        const GAUGEHDR& h = *Linkage.gauges[g];
        SCOPED_TRACE(h.name);
        services.calls.clear();
        h.query();
        h.install(0xC0FFEE01);
        h.initialize();
        h.update();
        h.generate(7);
        h.draw();
        h.kill();
        const std::vector<ServiceCall> expected = {
            {SERVICE_ELEMENT_LIST_QUERY, root, 0},      {SERVICE_ELEMENT_LIST_INSTALL, root, 0xC0FFEE01},
            {SERVICE_ELEMENT_LIST_INITIALIZE, root, 0}, {SERVICE_ELEMENT_LIST_UPDATE, root, 0},
            {SERVICE_ELEMENT_LIST_GENERATE, root, 7},   {SERVICE_ELEMENT_LIST_PLOT, root, 0},
            {SERVICE_ELEMENT_LIST_KILL, root, 0},
        };
        EXPECT_EQ(services.calls, expected);
    }
}

TEST(StandardRoutines, AllHeadersNameTheSameSevenRoutines) {
    for (int g = 0; Linkage.gauges[g] != nullptr; ++g) {
        const GAUGEHDR& h = *Linkage.gauges[g];
        EXPECT_EQ(h.query, &gauge_query);
        EXPECT_EQ(h.install, &gauge_install);
        EXPECT_EQ(h.initialize, &gauge_initialize);
        EXPECT_EQ(h.update, &gauge_update);
        EXPECT_EQ(h.generate, &gauge_generate);
        EXPECT_EQ(h.draw, &gauge_draw);
        EXPECT_EQ(h.kill, &gauge_kill);
    }
}

uint32_t other_table_key_events = 0;
uint32_t count_key_event(uint32_t, uint32_t) {
    ++other_table_key_events;
    return 0;
}

TEST(Forwarders, FollowAServicesPointerSwappedBetweenCalls) {
    RecordingServices services;
    services.install();
    void* other[PANEL_SERVICE_TABLE_ENTRIES] = {};
    other[SERVICE_TRIGGER_KEY_EVENT] = reinterpret_cast<void*>(&count_key_event);

    trigger_key_event(0x10022, 5);
    ASSERT_EQ(services.calls.size(), 1u);
    EXPECT_EQ(services.calls[0], (ServiceCall{SERVICE_TRIGGER_KEY_EVENT, 0x10022, 5}));

    ImportTable.panel_services.pointer = other;
    trigger_key_event(0x10022, 0);
    EXPECT_EQ(other_table_key_events, 1u);
    EXPECT_EQ(services.calls.size(), 1u);

    ImportTable.panel_services.pointer = services.table();
    trigger_key_event(0x10157, 0);
    EXPECT_EQ(services.calls.size(), 2u);
    EXPECT_EQ(other_table_key_events, 1u);
}

}  // namespace
