// Reading the records through the backend: drawing order, tables, rows, and
// refusal of records no module should hold.
#include <gtest/gtest.h>

#include "synthetic.h"

namespace {

TEST(Model, ChainInDrawingOrderWithFailuresAndRows) {
    FAILURE_RECORD failures[] = {{.key = 8, .action = 0}, {.key = 12, .action = 1}, {.key = 0, .action = 0}};
    ELEMENT_STATIC_IMAGE a{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    ELEMENT_STATIC_IMAGE b{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 2, {3, 4}, 0x01, {0, 0}, failures)};
    MOUSERECT child{.row_type = MOUSE_CHILD, .box = {1, 2, 3, 4}, .cursor = 2, .help_id = 0,
                    .mouse_flags = MOUSE_LEFTSINGLE, .event = 0, .function = nullptr};
    synthetic::Module m({&a.header, &b.header}, {child});
    m.bitmaps[1] = synthetic::solid(8, 8, 0x111111);
    const zephel::Gauge& g = m.host().gauge("Test");
    ASSERT_EQ(g.elements.size(), 2u);
    EXPECT_EQ(g.elements[0].bitmap, 1u);
    EXPECT_EQ(g.elements[1].bitmap, 2u);
    EXPECT_EQ(g.elements[1].position_x, 3);
    ASSERT_EQ(g.elements[1].failures.size(), 2u);
    EXPECT_EQ(g.elements[1].failures[1].key, 12u);
    EXPECT_EQ(g.failure_keys(), (std::vector<uint32_t>{8, 12}));
    EXPECT_EQ(g.help_id, 7u);
    ASSERT_EQ(g.mouse_rows.size(), 4u);
    ASSERT_EQ(g.child_rows().size(), 1u);
    EXPECT_EQ(g.child_rows()[0]->cursor, 2);
    EXPECT_EQ(m.host().picture_size(g), (std::pair{8, 8}));
}

TEST(Model, UnknownGaugeNameListsTheValidOnes) {
    ELEMENT_STATIC_IMAGE a{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    synthetic::Module m({&a.header});
    try {
        m.host().gauge("Tset");
        ADD_FAILURE() << "accepted";
    } catch (const zephel::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("\"Tset\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"Test\""), std::string::npos) << e.what();
    }
}

TEST(Model, RefusesUnknownKindsAndLoops) {
    {
        ELEMENT_STATIC_IMAGE a{.header = synthetic::header(2, 1, {0, 0}, 0x01)};
        synthetic::Module m({&a.header});
        EXPECT_THROW(m.host(), zephel::HostError);
    }
    {
        ELEMENT_STATIC_IMAGE a{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
        ELEMENT_STATIC_IMAGE b{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 2, {0, 0}, 0x01)};
        synthetic::Module m({&a.header, &b.header});
        ELEMENT_HEADER* back[] = {&a.header, nullptr};
        b.header.children = back;  // b's child is a again
        EXPECT_THROW(m.host(), zephel::HostError);
    }
}

TEST(Model, MissingBitmapNamed) {
    ELEMENT_STATIC_IMAGE a{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 99, {0, 0}, 0x01)};
    synthetic::Module m({&a.header});
    m.host().tick();
    try {
        m.render();
        ADD_FAILURE() << "rendered without its bitmap";
    } catch (const zephel::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("synthetic bitmap 99"), std::string::npos) << e.what();
    }
}

}  // namespace
