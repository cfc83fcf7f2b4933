// The module linked into this process.
#include "host/native_backend.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "frame/module.h"

namespace zephel {
namespace {

// The module calls its services as plain functions; they reach the host
// through the one services object installed now.
PanelServices* installed = nullptr;

template <int Index>
uint32_t element_service(ELEMENT_HEADER* element) {
    if (installed) installed->element_list(Index, reinterpret_cast<uintptr_t>(element), 0);
    return 0;
}
template <int Index>
uint32_t element_arg_service(ELEMENT_HEADER* element, uint32_t arg) {
    if (installed) installed->element_list(Index, reinterpret_cast<uintptr_t>(element), arg);
    return 0;
}
uint32_t key_event_service(uint32_t event, uint32_t parameter) {
    if (installed) installed->trigger_key_event(event, parameter);
    return 0;
}
template <int Index>
uint32_t unexpected_service() {
    if (installed) installed->unexpected_service(Index);
    return 0;
}

template <size_t... I>
constexpr auto unexpected_entries(std::index_sequence<I...>) {
    return std::array<void*, sizeof...(I)>{reinterpret_cast<void*>(&unexpected_service<I>)...};
}

std::array<void*, kServiceTableEntries> make_table() {
    auto table = unexpected_entries(std::make_index_sequence<kServiceTableEntries>());
    table[kElementListQuery] = reinterpret_cast<void*>(&element_service<kElementListQuery>);
    table[kElementListInstall] = reinterpret_cast<void*>(&element_arg_service<kElementListInstall>);
    table[kElementListInitialize] = reinterpret_cast<void*>(&element_service<kElementListInitialize>);
    table[kElementListUpdate] = reinterpret_cast<void*>(&element_service<kElementListUpdate>);
    table[kElementListGenerate] = reinterpret_cast<void*>(&element_arg_service<kElementListGenerate>);
    table[kElementListPlot] = reinterpret_cast<void*>(&element_service<kElementListPlot>);
    table[kElementListKill] = reinterpret_cast<void*>(&element_service<kElementListKill>);
    table[kTriggerKeyEvent] = reinterpret_cast<void*>(&key_event_service);
    return table;
}

std::array<void*, kServiceTableEntries> service_table = make_table();

template <typename T>
T* at(Address address) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

}  // namespace

std::filesystem::path NativeBackend::default_resources_dir() {
    return std::filesystem::path(ZEPHEL_SOURCE_DIR) / "resources";
}

NativeBackend::NativeBackend(std::filesystem::path resources_dir)
    : layout_(RecordLayout::native()), resources_dir_(std::move(resources_dir)) {}

NativeBackend::~NativeBackend() = default;

Address NativeBackend::linkage_address() const { return reinterpret_cast<uintptr_t>(&Linkage); }
Address NativeBackend::import_table_address() const { return reinterpret_cast<uintptr_t>(&ImportTable); }

uint32_t NativeBackend::read_u32(Address address) const {
    uint32_t v;
    std::memcpy(&v, at<const void>(address), sizeof v);
    return v;
}
float NativeBackend::read_f32(Address address) const {
    float v;
    std::memcpy(&v, at<const void>(address), sizeof v);
    return v;
}
double NativeBackend::read_f64(Address address) const {
    double v;
    std::memcpy(&v, at<const void>(address), sizeof v);
    return v;
}
Address NativeBackend::read_pointer(Address address) const {
    void* v;
    std::memcpy(&v, at<const void>(address), sizeof v);
    return reinterpret_cast<uintptr_t>(v);
}
std::string NativeBackend::read_cstring(Address address, size_t max_length) const {
    const char* s = at<const char>(address);
    if (!s) throw HostError("null string pointer in the module's records");
    return std::string(s, strnlen(s, max_length));
}
void NativeBackend::write_f64(Address address, double value) {
    std::memcpy(at<void>(address), &value, sizeof value);
}

double NativeBackend::call_value_callback(Address function, Address element) {
    return at<std::remove_pointer_t<VALUE_CALLBACK>>(function)(at<ELEMENT_HEADER>(element));
}
int32_t NativeBackend::call_mouse_function(Address function, int32_t x, int32_t y, uint32_t flags) {
    PIXPOINT point{x, y};
    return at<std::remove_pointer_t<MOUSE_FUNCTION>>(function)(&point, flags);
}
void NativeBackend::call_routine(Address function) { at<std::remove_pointer_t<GAUGE_ROUTINE>>(function)(); }
void NativeBackend::call_routine(Address function, uint32_t argument) {
    at<std::remove_pointer_t<GAUGE_ROUTINE_ARG>>(function)(argument);
}
int32_t NativeBackend::call_library_entry(uint32_t reason) { return DllMain(nullptr, reason, nullptr); }

void NativeBackend::install_services(PanelServices& services) {
    installed = &services;
    ImportTable.panel_services.pointer = service_table.data();
}
void NativeBackend::uninstall_services(PanelServices& services) {
    if (installed != &services) return;
    installed = nullptr;
    ImportTable.panel_services.pointer = nullptr;
}

std::string NativeBackend::bitmap_name(uint32_t id) const {
    char file[16];
    std::snprintf(file, sizeof file, "%04X.bmp", id & 0xFFFFu);
    return (resources_dir_ / file).string();
}

std::optional<std::vector<uint8_t>> NativeBackend::bitmap(uint32_t id) const {
    if (id > 0xFFFF) return std::nullopt;
    std::ifstream in(bitmap_name(id), std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zephel
