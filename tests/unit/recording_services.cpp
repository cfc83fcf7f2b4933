#include "recording_services.h"

namespace {

// The services are plain functions; each appends to the table that is
// installed right now.
RecordingServices* current = nullptr;

template <int Service>
uint32_t element_service(ELEMENT_HEADER* e) {
    current->calls.push_back({Service, reinterpret_cast<uintptr_t>(e), 0});
    return 0;
}
template <int Service>
uint32_t element_arg_service(ELEMENT_HEADER* e, uint32_t arg) {
    current->calls.push_back({Service, reinterpret_cast<uintptr_t>(e), arg});
    return 0;
}
uint32_t key_event_service(uint32_t event, uint32_t parameter) {
    current->calls.push_back({SERVICE_TRIGGER_KEY_EVENT, event, parameter});
    return 0xDEADBEEF;  // the module must ignore results
}

}  // namespace

RecordingServices::RecordingServices() {
    entries_[SERVICE_ELEMENT_LIST_QUERY] = reinterpret_cast<void*>(&element_service<SERVICE_ELEMENT_LIST_QUERY>);
    entries_[SERVICE_ELEMENT_LIST_INSTALL] = reinterpret_cast<void*>(&element_arg_service<SERVICE_ELEMENT_LIST_INSTALL>);
    entries_[SERVICE_ELEMENT_LIST_INITIALIZE] = reinterpret_cast<void*>(&element_service<SERVICE_ELEMENT_LIST_INITIALIZE>);
    entries_[SERVICE_ELEMENT_LIST_UPDATE] = reinterpret_cast<void*>(&element_service<SERVICE_ELEMENT_LIST_UPDATE>);
    entries_[SERVICE_ELEMENT_LIST_GENERATE] = reinterpret_cast<void*>(&element_arg_service<SERVICE_ELEMENT_LIST_GENERATE>);
    entries_[SERVICE_ELEMENT_LIST_PLOT] = reinterpret_cast<void*>(&element_service<SERVICE_ELEMENT_LIST_PLOT>);
    entries_[SERVICE_ELEMENT_LIST_KILL] = reinterpret_cast<void*>(&element_service<SERVICE_ELEMENT_LIST_KILL>);
    entries_[SERVICE_TRIGGER_KEY_EVENT] = reinterpret_cast<void*>(&key_event_service);
}

RecordingServices::~RecordingServices() {
    if (current == this) current = nullptr;
    if (ImportTable.panel_services.pointer == entries_) ImportTable.panel_services.pointer = nullptr;
}

void RecordingServices::install() {
    current = this;
    ImportTable.panel_services.pointer = entries_;
}
