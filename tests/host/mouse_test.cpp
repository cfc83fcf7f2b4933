// Mouse dispatch on a synthetic gauge: hit testing on box edges, row flags,
// repeats while held, null functions, right clicks; events through the real
// trigger_key_event forwarder into the host's log.
#include <gtest/gtest.h>

#include "frame/module.h"
#include "synthetic.h"

namespace {

int32_t GAUGE_CALL click_a(PIXPOINT* p, uint32_t) {
    trigger_key_event(0xA, static_cast<uint32_t>(p->x * 1000 + p->y));
    return 1;
}
int32_t GAUGE_CALL click_b(PIXPOINT*, uint32_t) {
    trigger_key_event(0xB, 0);
    return 1;
}

MOUSERECT row(PIXBOX box, uint32_t flags, MOUSE_FUNCTION fn) {
    return {.row_type = MOUSE_CHILD, .box = box, .cursor = 5, .help_id = 0, .mouse_flags = flags, .event = 0,
            .function = fn};
}

struct MouseModule {
    ELEMENT_STATIC_IMAGE face{.header = synthetic::header(ELEMENT_KIND_STATIC_IMAGE, 1, {0, 0}, 0x01)};
    synthetic::Module m{{&face.header},
                        {row({10, 20, 5, 4}, MOUSE_LEFTSINGLE, click_a),
                         row({30, 20, 5, 4}, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, click_b),
                         row({50, 20, 5, 4}, MOUSE_LEFTSINGLE, nullptr),
                         row({60, 20, 5, 4}, 0, click_a)}};
    MouseModule() { m.bitmaps[1] = synthetic::solid(40, 40, 0x101010); }
    zephel::Host& host() { return m.host(); }
};

TEST(Mouse, BoxCoversXToXPlusWidthMinusOne) {
    MouseModule t;
    const zephel::Gauge& g = t.host().gauge("Test");
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{10, 20, true},  {14, 23, true},  {14, 20, true},  {10, 23, true},
                 {15, 20, false}, {10, 24, false}, {9, 21, false},  {12, 19, false}};
    for (const auto& c : cases) {
        const zephel::MouseRow* r = zephel::Host::hit(g, c.x, c.y);
        EXPECT_EQ(r == g.child_rows()[0], c.inside) << c.x << "," << c.y;
    }
}

TEST(Mouse, LeftClickCallsTheRowFunctionWithThePoint) {
    MouseModule t;
    const zephel::PressResult r = t.host().press("Test", 12, 22);
    t.host().release();
    EXPECT_TRUE(r.called);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(t.host().key_events(), (std::vector<zephel::KeyEvent>{{0xA, 12022, 0}}));
}

TEST(Mouse, NoCallForRightClicksNullFunctionsOrRowsWithoutTheFlag) {
    MouseModule t;
    EXPECT_FALSE(t.host().press("Test", 12, 22, zephel::MouseButton::Right).called);
    const zephel::PressResult null_row = t.host().press("Test", 52, 22);
    EXPECT_NE(null_row.row, nullptr);
    EXPECT_FALSE(null_row.called);
    EXPECT_FALSE(t.host().press("Test", 62, 22).called);
    EXPECT_EQ(t.host().press("Test", 0, 0).row, nullptr);
    t.host().release();
    t.host().tick();
    EXPECT_TRUE(t.host().key_events().empty());
}

TEST(Mouse, RepeatRowCalledAgainEachTickWhileHeld) {
    MouseModule t;
    t.host().tick();
    t.host().press("Test", 31, 21);
    t.host().tick();
    t.host().tick();
    EXPECT_TRUE(t.host().hold_tick());
    t.host().release();
    t.host().tick();
    EXPECT_FALSE(t.host().hold_tick());
    const std::vector<zephel::KeyEvent> expected = {{0xB, 0, 1}, {0xB, 0, 2}, {0xB, 0, 3}, {0xB, 0, 3}};
    EXPECT_EQ(t.host().key_events(), expected);
}

TEST(Mouse, SingleClickRowNotRepeatedWhileHeld) {
    MouseModule t;
    t.host().press("Test", 11, 21);
    t.host().tick();
    EXPECT_FALSE(t.host().hold_tick());
    EXPECT_EQ(t.host().key_events().size(), 1u);
}

}  // namespace
