// The artificial horizon's pitch limit, called the way the simulator calls it:
// through the card's record, after the Y binding has been refreshed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gauges/gauges.h"
#include "recording_services.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// The horizon card as the records hold it: the sprite whose Y callback is
// pitch_clamp_cb.
ELEMENT_SPRITE* horizon_card() {
    for (int g = 0; Linkage.gauges[g] != nullptr; ++g) {
        if (std::string(Linkage.gauges[g]->name) != "Artificial_Horizon") continue;
        ELEMENT_HEADER* e = Linkage.gauges[g]->elements[0];
        for (; e != nullptr; e = e->children ? e->children[0] : nullptr)
            if (e->kind == ELEMENT_KIND_SPRITE) return reinterpret_cast<ELEMENT_SPRITE*>(e);
    }
    return nullptr;
}

struct PitchCase {
    double pitch;
    double limited;
};

TEST(PitchClampCb, LimitsTo43EitherWayAndNotANumberToTheLowerLimit) {
    const PitchCase cases[] = {
        {43.0, 43.0},     {43.5, 43.0},     {1000.0, 43.0},     {inf, 43.0},
        {std::nextafter(43.0, 100.0), 43.0}, {std::nextafter(43.0, 0.0), std::nextafter(43.0, 0.0)},
        {-43.0, -43.0},   {-43.5, -43.0},   {-1000.0, -43.0},   {-inf, -43.0},
        {std::nextafter(-43.0, -100.0), -43.0}, {std::nextafter(-43.0, 0.0), std::nextafter(-43.0, 0.0)},
        {std::nan(""), -43.0}, {-std::nan(""), -43.0},
        {12.5, 12.5},     {-12.5, -12.5},   {1e-300, 1e-300},
    };
    ELEMENT_SPRITE* card = horizon_card();
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->callback_y, &pitch_clamp_cb);
    RecordingServices services;
    services.install();
    const ELEMENT_SPRITE before = *card;
    for (const PitchCase& c : cases) {
        SCOPED_TRACE(c.pitch);
        card->source_y.value = c.pitch;
        EXPECT_EQ(card->callback_y(&card->header), c.limited);
    }
    // It reads only the Y binding: the other axes' values do not leak in.
    card->source_y.value = 5.0;
    card->source_x.value = 100.0;
    card->source_rotation.value = -100.0;
    EXPECT_EQ(pitch_clamp_cb(&card->header), 5.0);
    card->source_x = before.source_x;
    card->source_y = before.source_y;
    card->source_rotation = before.source_rotation;
    EXPECT_TRUE(services.calls.empty()) << "the pitch limit calls nothing";
}

TEST(PitchClampCb, ZeroKeepsItsSign) {
    ELEMENT_SPRITE sprite{};
    for (const double zero : {0.0, -0.0}) {
        sprite.source_y.value = zero;
        const double result = pitch_clamp_cb(&sprite.header);
        EXPECT_EQ(result, 0.0);
        EXPECT_EQ(std::signbit(result), std::signbit(zero)) << "input " << zero;
    }
}

}  // namespace
