// The module's face to the simulator: the two exported tables, the standard
// gauge routines every header names, and the panel-service forwarders.
#pragma once

#include "records.h"

extern "C" {
extern GAUGESLINKAGE Linkage;
extern IMPORT_TABLE ImportTable;

int32_t GAUGE_CALL DllMain(void* instance, uint32_t reason, void* reserved);
}

void GAUGE_CALL module_routine();

// The seven standard gauge routines; all act on the root element of the
// gauge at position 0 of Linkage, whichever header they are called through.
void GAUGE_CALL gauge_query();
void GAUGE_CALL gauge_install(uint32_t resource_handle);
void GAUGE_CALL gauge_initialize();
void GAUGE_CALL gauge_update();
void GAUGE_CALL gauge_generate(uint32_t phase);
void GAUGE_CALL gauge_draw();
void GAUGE_CALL gauge_kill();

// Panel-service forwarders: each reads the services pointer from ImportTable
// at the moment of the call.
void element_list_query(ELEMENT_HEADER* element);
void element_list_install(ELEMENT_HEADER* element, uint32_t resource_handle);
void element_list_initialize(ELEMENT_HEADER* element);
void element_list_update(ELEMENT_HEADER* element);
void element_list_generate(ELEMENT_HEADER* element, uint32_t phase);
void element_list_plot(ELEMENT_HEADER* element);
void element_list_kill(ELEMENT_HEADER* element);
void trigger_key_event(uint32_t event, uint32_t parameter);

// The standard routines, as every gauge header lists them.
#define STANDARD_GAUGE_ROUTINES                                                        \
    .query = gauge_query, .install = gauge_install, .initialize = gauge_initialize,   \
    .update = gauge_update, .generate = gauge_generate, .draw = gauge_draw,           \
    .kill = gauge_kill

// The four-row frame of every mouse table.
#define MOUSE_PARENT_ROW(help)                                                         \
    MOUSERECT { .row_type = MOUSE_PARENT_BEGIN, .box = {0, 0, 0, 0}, .cursor = CURSOR_NONE, \
                .help_id = (help), .mouse_flags = 0, .event = 0, .function = nullptr }
#define MOUSE_END_OF_PARENT_ROW                                                        \
    MOUSERECT { .row_type = MOUSE_PARENT_END, .box = {0, 0, 0, 0}, .cursor = CURSOR_NONE, \
                .help_id = 0, .mouse_flags = 0, .event = 0, .function = nullptr }
#define MOUSE_END_ROW                                                                  \
    MOUSERECT { .row_type = MOUSE_RECT_EOL, .box = {0, 0, 0, 0}, .cursor = CURSOR_NONE, \
                .help_id = 0, .mouse_flags = 0, .event = 0, .function = nullptr }
