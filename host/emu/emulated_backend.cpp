#include "host/emu/emulated_backend.h"

#include <cstdio>

#include "host/emu/record_check.h"

namespace zephel {

namespace {

std::string hex(uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

EmulatedBackend::EmulatedBackend(const std::string& gau_path) : EmulatedBackend(gau_path, {}) {}

EmulatedBackend::EmulatedBackend(const std::string& gau_path, Options options)
    : path_(gau_path), layout_(RecordLayout::win32()), module_(emu::PeImage::load(gau_path), options.machine) {
    linkage_ = module_.export_address("Linkage");
    import_table_ = module_.export_address("ImportTable");
    if (options.check_records) {
        const auto faults = emu::check_records(module_);
        if (!faults.empty()) {
            std::string message = gau_path + ": the records do not have the simulator's layout:";
            for (const std::string& f : faults) message += "\n  " + f;
            throw emu::EmulationFault(message);
        }
    }
}

uint32_t EmulatedBackend::address32(Address address, const char* what) const {
    if (address > 0xFFFFFFFFull) throw HostError(path_ + ": " + what + " address " + hex(address) + " is not 32-bit");
    return static_cast<uint32_t>(address);
}

std::string EmulatedBackend::routine_label(const char* role, Address function) const {
    return std::string(role) + " " + module_.describe(static_cast<uint32_t>(function));
}

uint32_t EmulatedBackend::read_u32(Address address) const { return module_.read_u32(address32(address, "read")); }
float EmulatedBackend::read_f32(Address address) const { return module_.read_f32(address32(address, "read")); }
double EmulatedBackend::read_f64(Address address) const { return module_.read_f64(address32(address, "read")); }
Address EmulatedBackend::read_pointer(Address address) const { return module_.read_u32(address32(address, "read")); }

std::string EmulatedBackend::read_cstring(Address address, size_t max_length) const {
    if (address == 0) throw HostError(path_ + ": null string pointer in the module's records");
    std::string out;
    const uint32_t at = address32(address, "string");
    for (char c; out.size() < max_length && (module_.read(at + static_cast<uint32_t>(out.size()), &c, 1), c != 0);)
        out.push_back(c);
    return out;
}

void EmulatedBackend::write_f64(Address address, double value) { module_.write_f64(address32(address, "write"), value); }

double EmulatedBackend::call_value_callback(Address function, Address element) {
    return module_.call_value_callback(address32(function, "routine"), address32(element, "element"),
                                       routine_label("value callback", function) + " on element " +
                                           module_.describe(static_cast<uint32_t>(element)));
}

int32_t EmulatedBackend::call_mouse_function(Address function, int32_t x, int32_t y, uint32_t flags) {
    return module_.call_mouse_function(address32(function, "routine"), x, y, flags,
                                       routine_label("mouse function", function));
}

void EmulatedBackend::call_routine(Address function) {
    module_.call_routine(address32(function, "routine"), routine_label("routine", function));
}

void EmulatedBackend::call_routine(Address function, uint32_t argument) {
    module_.call_routine(address32(function, "routine"), argument, routine_label("routine", function));
}

int32_t EmulatedBackend::call_library_entry(uint32_t reason) {
    return static_cast<int32_t>(module_.call_library_entry(reason));
}

void EmulatedBackend::install_services(PanelServices& services) {
    services_ = &services;
    module_.on_service = [this](const emu::ServiceCall& call) {
        if (!services_) return;
        if (call.index == kTriggerKeyEvent)
            services_->trigger_key_event(call.first, call.second);
        else
            services_->element_list(call.index, call.first, call.second);
    };
    module_.install_services_table();
}

void EmulatedBackend::uninstall_services(PanelServices& services) {
    if (services_ != &services) return;
    services_ = nullptr;
    module_.on_service = nullptr;
    module_.remove_services_table();
}

std::optional<std::vector<uint8_t>> EmulatedBackend::bitmap(uint32_t id) const {
    const auto& bitmaps = module_.image().bitmaps();
    auto it = bitmaps.find(id);
    if (it == bitmaps.end()) return std::nullopt;
    return it->second;
}

std::string EmulatedBackend::bitmap_name(uint32_t id) const {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", id);
    return path_ + " bitmap resource " + text;
}

}  // namespace zephel
