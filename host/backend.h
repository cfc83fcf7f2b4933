// The one small interface through which the workbench reaches the module.
//
// Everything above this interface (model, tick, drawing, mouse) sees the
// module only as memory at 64-bit addresses, laid out as `RecordLayout`
// says, and a handful of calls into it. Two implementations exist: the
// module linked natively into the process (`NativeBackend`, addresses are
// real pointers) and the shipped .gau run in an x86 emulator (host/emu/).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zephel {

using Address = uint64_t;

// Any fault of the workbench that a caller should report: bad module data,
// unreadable memory, a missing or malformed bitmap, an unknown gauge name.
struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Byte offsets of every record field the host reads or writes, and record
// sizes where the host walks arrays of records. Offsets are from the start
// of the record that holds the field; kind fields are from the start of the
// element record (the element header included).
struct RecordLayout {
    uint32_t pointer_size = 0;

    struct ElementHeader {
        uint32_t kind, bitmap, position_x, position_y, offset_x, offset_y, gauge, children,
            failures, draw_flags;
    } element{};
    // Token binding (embedded in elements).
    struct Binding {
        uint32_t size, token, value;  // value: the host-owned current value, a 64-bit float
    } binding{};
    struct Needle {
        uint32_t source, table, entry_count, turn_limit;
    } needle{};
    struct Slider {
        uint32_t source_x, scale_x, source_y, scale_y;
    } slider{};
    struct Icon {
        uint32_t source, icon_mode, scale, offset, picture_count, callback;
    } icon{};
    struct MovingImage {
        uint32_t source_x, min_x, max_x, source_y, min_y, max_y, callback_x, callback_y;
    } moving_image{};
    struct Sprite {
        uint32_t source_x, scale_x, source_y, scale_y, source_rotation, scale_rotation,
            texture_scale_x, texture_scale_y, callback_x, callback_y, callback_rotation;
    } sprite{};
    struct Nonlinearity {
        uint32_t size, x, y, value;
    } nonlinearity{};
    struct Failure {
        uint32_t size, key, action;
    } failure{};
    struct MouseRow {
        uint32_t size, row_type, box_x, box_y, box_width, box_height, cursor, help_id,
            mouse_flags, event, function;
    } mouse_row{};
    struct GaugeHeader {
        uint32_t version, name, elements, routines, default_size, mouse_table;
        // routines: the seven standard routines, one pointer each, in the order
        // query, install, initialize, update, generate, draw, kill
    } gauge{};
    struct Linkage {
        uint32_t module_id, module_init, module_deinit, flags, priority, version, gauges;
    } linkage{};
    struct ImportTable {
        uint32_t size, panel_services_id, panel_services_pointer;
    } import_table{};

    // The layout of the module built for this machine (offsetof/sizeof).
    static RecordLayout native();
    // The simulator's 32-bit layout, the one the shipped .gau has.
    static RecordLayout win32();
};

// What the host offers the module: one method per panel service the module
// calls. Arguments arrive as the module passed them; elements as addresses.
class PanelServices {
public:
    virtual ~PanelServices() = default;
    // element_list_query/install/initialize/update/generate/plot/kill, told
    // apart by their entry index in the services table (24..29, 31). `arg`
    // is the install routine's resource handle or the generate routine's
    // phase, 0 for the others.
    virtual void element_list(int service_index, Address element, uint32_t arg) = 0;
    virtual void trigger_key_event(uint32_t event, uint32_t parameter) = 0;
    // Any other entry of the table: the module never calls one.
    virtual void unexpected_service(int service_index) { (void)service_index; }
};

// Panel-service entry indices (byte offset in the table / 4).
enum ServiceIndex : int {
    kElementListQuery = 24,
    kElementListInstall = 25,
    kElementListInitialize = 26,
    kElementListUpdate = 27,
    kElementListGenerate = 28,
    kElementListPlot = 29,
    kElementListKill = 31,
    kTriggerKeyEvent = 36,
    kServiceTableEntries = 40,
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual const RecordLayout& layout() const = 0;
    virtual Address linkage_address() const = 0;
    virtual Address import_table_address() const = 0;

    // Reads of module memory. An address outside the module's memory throws
    // HostError where the backend can tell (the emulated one can; the native
    // one trusts the records).
    virtual uint32_t read_u32(Address address) const = 0;
    virtual int32_t read_i32(Address address) const { return static_cast<int32_t>(read_u32(address)); }
    virtual float read_f32(Address address) const = 0;
    virtual double read_f64(Address address) const = 0;
    virtual Address read_pointer(Address address) const = 0;
    // A NUL-terminated string of at most `max_length` characters.
    virtual std::string read_cstring(Address address, size_t max_length = 256) const = 0;

    // Writes a host-owned field: a binding's current value.
    virtual void write_f64(Address address, double value) = 0;

    // Calls into the module.
    virtual double call_value_callback(Address function, Address element) = 0;
    virtual int32_t call_mouse_function(Address function, int32_t x, int32_t y, uint32_t flags) = 0;
    virtual void call_routine(Address function) = 0;                 // module routine, standard routines
    virtual void call_routine(Address function, uint32_t argument) = 0;  // install, generate
    virtual int32_t call_library_entry(uint32_t reason) = 0;

    // Puts a panel-services table that forwards to `services` into
    // ImportTable, so that trigger_key_event and element_list_* reach the host.
    // `services` must outlive its installation.
    virtual void install_services(PanelServices& services) = 0;
    // Removes it again (the services pointer back to null) if it is installed.
    virtual void uninstall_services(PanelServices& services) = 0;

    // The bytes of bitmap `id` (a BMP file or a bare DIB), or nothing when
    // the module has no such bitmap; `bitmap_name` names it for messages.
    virtual std::optional<std::vector<uint8_t>> bitmap(uint32_t id) const = 0;
    virtual std::string bitmap_name(uint32_t id) const = 0;
};

}  // namespace zephel
