// A panel-services table for the natively linked module that records every
// call the module makes into it.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/module.h"

struct ServiceCall {
    int service;  // index in the services table
    uintptr_t first;   // element address, or key event
    uint32_t second;   // resource handle, phase or parameter; 0 where none
    bool operator==(const ServiceCall&) const = default;
};

class RecordingServices {
public:
    RecordingServices();
    ~RecordingServices();
    RecordingServices(const RecordingServices&) = delete;
    RecordingServices& operator=(const RecordingServices&) = delete;

    // Makes ImportTable point at this table.
    void install();
    void* table() { return entries_; }

    std::vector<ServiceCall> calls;

private:
    void* entries_[PANEL_SERVICE_TABLE_ENTRIES] = {};
};
