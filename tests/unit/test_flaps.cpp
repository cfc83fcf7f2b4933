// Mouse functions of the flap lever and the placard's click row.
#include <gtest/gtest.h>

#include "gauges/gauges.h"
#include "recording_services.h"

namespace {

struct ClickCase {
    const char* name;
    MOUSE_FUNCTION function;
    uint32_t event;
};

const ClickCase FLAP_CLICKS[] = {
    {"upper (Ein)", flap_upper_click, 0x100DF},
    {"lower (Aus)", flap_lower_click, 0x100DE},
};

TEST(FlapClicks, EachClickSendsItsOwnEventWithParameterZeroAndReturnsOne) {
    RecordingServices services;
    services.install();
    for (const ClickCase& c : FLAP_CLICKS) {
        SCOPED_TRACE(c.name);
        services.calls.clear();
        PIXPOINT point{120, 40};
        EXPECT_EQ(c.function(&point, MOUSE_LEFTSINGLE), 1);
        // The arguments are ignored: no point and other flags change nothing.
        EXPECT_EQ(c.function(nullptr, 0xFFFFFFFFu), 1);
        const ServiceCall sent{SERVICE_TRIGGER_KEY_EVENT, c.event, 0};
        EXPECT_EQ(services.calls, (std::vector<ServiceCall>{sent, sent}));
    }
}

TEST(FlapClicks, InterleavedClicksKeepTheirOrder) {
    RecordingServices services;
    services.install();
    flap_lower_click(nullptr, MOUSE_LEFTSINGLE);
    flap_upper_click(nullptr, MOUSE_LEFTSINGLE);
    flap_lower_click(nullptr, MOUSE_LEFTSINGLE);
    EXPECT_EQ(services.calls, (std::vector<ServiceCall>{{SERVICE_TRIGGER_KEY_EVENT, 0x100DE, 0},
                                                        {SERVICE_TRIGGER_KEY_EVENT, 0x100DF, 0},
                                                        {SERVICE_TRIGGER_KEY_EVENT, 0x100DE, 0}}));
}

// The rows of the native records name the functions that send the events:
// the upper box the Ein event, the lower box the Aus event; the placard's
// row names none.
TEST(FlapMouseTable, UpperRowSendsEinLowerRowSendsAusPlacardRowNothing) {
    RecordingServices services;
    services.install();
    const MOUSERECT* rows = flap_lever_header.mouse_table;
    ASSERT_EQ(rows[1].row_type, MOUSE_CHILD);
    ASSERT_EQ(rows[2].row_type, MOUSE_CHILD);
    EXPECT_EQ(rows[1].box.y + rows[1].box.height, rows[2].box.y) << "the boxes meet without gap or overlap";
    ASSERT_NE(rows[1].function, nullptr);
    ASSERT_NE(rows[2].function, nullptr);
    rows[1].function(nullptr, MOUSE_LEFTSINGLE);
    rows[2].function(nullptr, MOUSE_LEFTSINGLE);
    EXPECT_EQ(services.calls, (std::vector<ServiceCall>{{SERVICE_TRIGGER_KEY_EVENT, 0x100DF, 0},
                                                        {SERVICE_TRIGGER_KEY_EVENT, 0x100DE, 0}}));

    const MOUSERECT& placard_row = gearflap_placard_header.mouse_table[1];
    EXPECT_EQ(placard_row.row_type, MOUSE_CHILD);
    EXPECT_EQ(placard_row.function, nullptr);
    EXPECT_EQ(placard_row.event, 0u);
}

}  // namespace
