// The module's gauges: their headers in Linkage order, their value callbacks
// and their mouse functions.
#pragma once

#include "frame/records.h"

extern GAUGEHDR autoslat_control_header;
extern GAUGEHDR artificial_horizon_header;
extern GAUGEHDR undercarriage_lever_header;
extern GAUGEHDR flap_lever_header;
extern GAUGEHDR gearflap_placard_header;
extern GAUGEHDR airspeed_indicator_header;
extern GAUGEHDR radio_altimeter_header;
extern GAUGEHDR compass_header;
extern GAUGEHDR heading_indicator_header;

// Linkage's gauge table, in the simulator's order, then the null that ends it.
// Position 0 matters: the standard routines act on its root element.
// One line per gauge; a gauge not yet built is left out.
#define GAUGE_TABLE                 \
    &autoslat_control_header,       \
    &artificial_horizon_header,     \
    &undercarriage_lever_header,    \
    &flap_lever_header,             \
    &gearflap_placard_header,       \
    &airspeed_indicator_header,     \
    &radio_altimeter_header,        \
    &compass_header,                \
    &heading_indicator_header,      \
    nullptr

// Value callbacks.
double GAUGE_CALL autoslat_icon_cb(ELEMENT_HEADER* element);
double GAUGE_CALL gear_icon_cb(ELEMENT_HEADER* element);
double GAUGE_CALL pitch_clamp_cb(ELEMENT_HEADER* element);
double GAUGE_CALL compass_strip_cb(ELEMENT_HEADER* element);

// Mouse functions.
int32_t GAUGE_CALL gear_click(PIXPOINT* point, uint32_t mouse_flags);
int32_t GAUGE_CALL flap_upper_click(PIXPOINT* point, uint32_t mouse_flags);
int32_t GAUGE_CALL flap_lower_click(PIXPOINT* point, uint32_t mouse_flags);
int32_t GAUGE_CALL course_knob_left(PIXPOINT* point, uint32_t mouse_flags);
int32_t GAUGE_CALL course_knob_right(PIXPOINT* point, uint32_t mouse_flags);
