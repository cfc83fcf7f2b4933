#include "module.h"

#include "gauges/gauges.h"

extern "C" {

IMPORT_TABLE ImportTable = {
    .panel_services = {.id = IMPORT_ID_PANELS, .pointer = nullptr},
    .end = {.id = 0, .pointer = nullptr},
};

GAUGESLINKAGE Linkage = {
    .module_id = LINKAGE_MODULE_ID,
    .module_init = module_routine,
    .module_deinit = module_routine,
    .flags = 0,
    .priority = 0,
    .version = 0,
    .gauges = {GAUGE_TABLE},
};

int32_t GAUGE_CALL DllMain(void*, uint32_t, void*) { return 1; }

}  // extern "C"

void GAUGE_CALL module_routine() {}

namespace {

// Entry `index` of the simulator's panel services table, read afresh each time.
template <typename Fn>
Fn panel_service(int index) {
    auto* table = static_cast<void* const*>(ImportTable.panel_services.pointer);
    return reinterpret_cast<Fn>(table[index]);
}

using ElementService = uint32_t(GAUGE_CALL*)(ELEMENT_HEADER*);
using ElementArgService = uint32_t(GAUGE_CALL*)(ELEMENT_HEADER*, uint32_t);
using KeyEventService = uint32_t(GAUGE_CALL*)(uint32_t, uint32_t);

ELEMENT_HEADER* first_gauge_root() { return Linkage.gauges[0]->elements[0]; }

}  // namespace

void element_list_query(ELEMENT_HEADER* e) { panel_service<ElementService>(SERVICE_ELEMENT_LIST_QUERY)(e); }
void element_list_install(ELEMENT_HEADER* e, uint32_t resource_handle) {
    panel_service<ElementArgService>(SERVICE_ELEMENT_LIST_INSTALL)(e, resource_handle);
}
void element_list_initialize(ELEMENT_HEADER* e) { panel_service<ElementService>(SERVICE_ELEMENT_LIST_INITIALIZE)(e); }
void element_list_update(ELEMENT_HEADER* e) { panel_service<ElementService>(SERVICE_ELEMENT_LIST_UPDATE)(e); }
void element_list_generate(ELEMENT_HEADER* e, uint32_t phase) {
    panel_service<ElementArgService>(SERVICE_ELEMENT_LIST_GENERATE)(e, phase);
}
void element_list_plot(ELEMENT_HEADER* e) { panel_service<ElementService>(SERVICE_ELEMENT_LIST_PLOT)(e); }
void element_list_kill(ELEMENT_HEADER* e) { panel_service<ElementService>(SERVICE_ELEMENT_LIST_KILL)(e); }
void trigger_key_event(uint32_t event, uint32_t parameter) {
    panel_service<KeyEventService>(SERVICE_TRIGGER_KEY_EVENT)(event, parameter);
}

void GAUGE_CALL gauge_query() { element_list_query(first_gauge_root()); }
void GAUGE_CALL gauge_install(uint32_t resource_handle) { element_list_install(first_gauge_root(), resource_handle); }
void GAUGE_CALL gauge_initialize() { element_list_initialize(first_gauge_root()); }
void GAUGE_CALL gauge_update() { element_list_update(first_gauge_root()); }
void GAUGE_CALL gauge_generate(uint32_t phase) { element_list_generate(first_gauge_root(), phase); }
void GAUGE_CALL gauge_draw() { element_list_plot(first_gauge_root()); }
void GAUGE_CALL gauge_kill() { element_list_kill(first_gauge_root()); }
