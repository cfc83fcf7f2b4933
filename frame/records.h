// Record types, flags and constants of the simulator's panel system.
//
// The simulator reads these records in place and writes its own working state
// into the fields marked "host". That is why no record here is const: the
// module fills the module-owned fields at build time and never writes a record
// afterwards, but the memory has to stay writable for the simulator.
//
// In the 32-bit Windows build every record has the simulator's byte layout:
// packed to 4 bytes (a double directly after a 32-bit field gets no padding),
// with every offset and size checked at the end of this file. The native
// 64-bit build, used by the tests and the workbench, keeps the same fields in
// the same order with its own pointer width.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define GAUGE_CALL __stdcall
#define GAUGE_WIN32 1
#else
#define GAUGE_CALL
#endif

#define GAUGE_HEADER_VERSION_FS700 700u

// Draw flags of an element.
#define IMAGE_USE_TRANSPARENCY 0x01u  // pure black is not drawn
#define IMAGE_USE_ERASE 0x02u         // restore what lay beneath before redrawing
#define IMAGE_BILINEAR_COLOR 0x80u    // smooth colours when turning or scaling

// Mouse flags of a mouse-table row.
#define MOUSE_LEFTSINGLE 0x20000000u   // single click of the left button
#define MOUSE_DOWN_REPEAT 0x00200000u  // repeated calls while the button is held

// Mouse-table row types.
#define MOUSE_RECT_EOL 0u    // end of table
#define MOUSE_PARENT_BEGIN 1u
#define MOUSE_CHILD 2u
#define MOUSE_PARENT_END 3u

// Cursor codes used on mouse rows.
#define CURSOR_NONE (-1)
#define CURSOR_NORMAL 0
#define CURSOR_UPARROW 1
#define CURSOR_DOWNARROW 2
#define CURSOR_HAND 5

// Element kinds (the first field of every element record).
enum ElementKind : uint32_t {
    ELEMENT_KIND_STATIC_IMAGE = 0,
    ELEMENT_KIND_NEEDLE = 1,
    ELEMENT_KIND_SLIDER = 3,
    ELEMENT_KIND_ICON = 4,
    ELEMENT_KIND_MOVING_IMAGE = 5,
    ELEMENT_KIND_SPRITE = 6,
};

#pragma pack(push, 4)

struct GAUGEHDR;
struct ELEMENT_HEADER;

struct PIXPOINT {
    int32_t x;
    int32_t y;
};

struct PIXBOX {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// Value callback: gets its element, returns the value used in place of the token's.
using VALUE_CALLBACK = double(GAUGE_CALL*)(ELEMENT_HEADER* element);
// Mouse function: gets the click point and the mouse flags, returns 1.
using MOUSE_FUNCTION = int32_t(GAUGE_CALL*)(PIXPOINT* point, uint32_t mouse_flags);
using GAUGE_ROUTINE = void(GAUGE_CALL*)();
using GAUGE_ROUTINE_ARG = void(GAUGE_CALL*)(uint32_t argument);
using MODULE_ROUTINE = void(GAUGE_CALL*)();

// Token binding: the module sets the token; the simulator keeps the rest.
struct MODULE_VAR {
    uint32_t token;             // 0 = no token
    void* variable = nullptr;   // host
    uint32_t variable_type = 0; // host
    double value = 0.0;         // host: current value, refreshed before use
    double previous_value = 0.0;  // host
};

struct NONLINEARITY {
    PIXPOINT point;        // a point on the background the needle points at
    double value;          // the value at which it points there
    double degrees = 0.0;  // host
};

struct FAILURE_RECORD {
    uint32_t key;             // simulator failure number; 0 ends the list
    uint32_t action;          // what the simulator does to the element
    void* reserved = nullptr;
};

// The first fields of every element record.
struct ELEMENT_HEADER {
    uint32_t kind;
    uint32_t bitmap;
    PIXPOINT position;
    PIXPOINT previous_position = {};   // host
    PIXPOINT offset;
    GAUGEHDR* gauge;
    ELEMENT_HEADER* previous_element = nullptr;  // host
    ELEMENT_HEADER** children;          // null-terminated element list, or null
    FAILURE_RECORD* failures;           // key-0-terminated list, or null
    uint32_t draw_flags;
    uint32_t instrumentation_flags = 0;
    uint32_t reserved = 0;
};

struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
    uint32_t host[9] = {};
};

struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    MODULE_VAR source;
    void* host_callback = nullptr;
    void* host_source = nullptr;
    PIXPOINT host_point = {};
    void* host_a = nullptr;
    void* host_b = nullptr;
    NONLINEARITY* nonlinearity;
    uint32_t entry_count;
    int32_t turn_limit;  // degrees per tick at most; 0 = no limit
    uint32_t host[28] = {};
};

struct ELEMENT_SLIDER {
    ELEMENT_HEADER header;
    MODULE_VAR source_x;
    void* host_x = nullptr;
    double scale_x;
    void* host_between = nullptr;
    MODULE_VAR source_y;
    void* host_y = nullptr;
    double scale_y;
    uint32_t host[12] = {};
};

struct ELEMENT_ICON {
    ELEMENT_HEADER header;
    MODULE_VAR source;
    void* host_source = nullptr;
    int32_t icon_mode;
    uint32_t host_mode = 0;
    double scale;
    int32_t offset;
    int32_t picture_count;
    uint32_t host[4] = {};
    VALUE_CALLBACK callback;
    uint32_t host_tail = 0;
};

struct ELEMENT_MOVING_IMAGE {
    ELEMENT_HEADER header;
    MODULE_VAR source_x;
    void* host_x = nullptr;
    double min_x;
    double max_x;
    void* host_between = nullptr;
    MODULE_VAR source_y;
    void* host_y = nullptr;
    double min_y;
    double max_y;
    uint32_t host[21] = {};
    VALUE_CALLBACK callback_x;
    VALUE_CALLBACK callback_y;
    uint32_t host_tail[4] = {};
};

struct ELEMENT_SPRITE {
    ELEMENT_HEADER header;
    MODULE_VAR source_x;
    void* host_x = nullptr;
    double scale_x;
    MODULE_VAR source_y;
    void* host_y = nullptr;
    double scale_y;
    MODULE_VAR source_rotation;
    void* host_rotation = nullptr;
    double scale_rotation;
    float texture_scale_x;  // texture pixels per background pixel
    float texture_scale_y;
    uint32_t host[32] = {};
    VALUE_CALLBACK callback_x;
    VALUE_CALLBACK callback_y;
    VALUE_CALLBACK callback_rotation;
    uint32_t host_tail[6] = {};
};

struct MOUSERECT {
    uint32_t row_type;
    PIXBOX box;
    int32_t cursor;
    uint32_t help_id;
    uint32_t mouse_flags;
    uint32_t event;
    MOUSE_FUNCTION function;
    void* host_data = nullptr;
};

struct GAUGEHDR {
    uint32_t version;
    const char* name;
    ELEMENT_HEADER** elements;
    GAUGE_ROUTINE query;
    GAUGE_ROUTINE_ARG install;
    GAUGE_ROUTINE initialize;
    GAUGE_ROUTINE update;
    GAUGE_ROUTINE_ARG generate;
    GAUGE_ROUTINE draw;
    GAUGE_ROUTINE kill;
    uint32_t reserved = 0;
    uint32_t default_size_mm;
    uint32_t zero_48[8] = {};  // further size fields, reserved, host position
    MOUSERECT* mouse_table;
    void* gauge_callback = nullptr;
    uint32_t user_data = 0;
    const char* parameters = nullptr;
    const char* usage = nullptr;
    uint32_t zero_100[38] = {};  // reserved and host fields
};

// Gauge table of the module: nine headers and a null.
constexpr int GAUGE_COUNT = 9;

struct GAUGESLINKAGE {
    uint32_t module_id;
    MODULE_ROUTINE module_init;
    MODULE_ROUTINE module_deinit;
    uint32_t flags;
    uint32_t priority;
    uint32_t version;
    GAUGEHDR* gauges[GAUGE_COUNT + 1];
};

struct IMPORT_ENTRY {
    uint32_t id;
    void* pointer;
};

// The simulator writes its panel services table's address into entry 0.
struct IMPORT_TABLE {
    IMPORT_ENTRY panel_services;  // id 0x0F
    IMPORT_ENTRY end;             // id 0, null
};

#pragma pack(pop)

constexpr uint32_t IMPORT_ID_PANELS = 0x0000000Fu;
constexpr uint32_t LINKAGE_MODULE_ID = 0x00000013u;

// Entries of the panel services table the module calls (index = byte offset / 4).
enum PanelService : int {
    SERVICE_ELEMENT_LIST_QUERY = 24,
    SERVICE_ELEMENT_LIST_INSTALL = 25,
    SERVICE_ELEMENT_LIST_INITIALIZE = 26,
    SERVICE_ELEMENT_LIST_UPDATE = 27,
    SERVICE_ELEMENT_LIST_GENERATE = 28,
    SERVICE_ELEMENT_LIST_PLOT = 29,
    SERVICE_ELEMENT_LIST_KILL = 31,
    SERVICE_TRIGGER_KEY_EVENT = 36,
};
constexpr int PANEL_SERVICE_TABLE_ENTRIES = 40;

#if defined(GAUGE_WIN32)
// The simulator's layout, byte for byte.
#define CHECK_LAYOUT(type, field, off) static_assert(offsetof(type, field) == (off), #type "." #field)
#define CHECK_SIZE(type, size) static_assert(sizeof(type) == (size), "sizeof " #type)
CHECK_SIZE(MODULE_VAR, 28);
CHECK_LAYOUT(MODULE_VAR, variable, 4);
CHECK_LAYOUT(MODULE_VAR, variable_type, 8);
CHECK_LAYOUT(MODULE_VAR, value, 12);
CHECK_LAYOUT(MODULE_VAR, previous_value, 20);
CHECK_SIZE(NONLINEARITY, 24);
CHECK_LAYOUT(NONLINEARITY, value, 8);
CHECK_LAYOUT(NONLINEARITY, degrees, 16);
CHECK_SIZE(FAILURE_RECORD, 12);
CHECK_LAYOUT(FAILURE_RECORD, action, 4);
CHECK_LAYOUT(FAILURE_RECORD, reserved, 8);
CHECK_SIZE(ELEMENT_HEADER, 60);
CHECK_LAYOUT(ELEMENT_HEADER, bitmap, 4);
CHECK_LAYOUT(ELEMENT_HEADER, position, 8);
CHECK_LAYOUT(ELEMENT_HEADER, previous_position, 16);
CHECK_LAYOUT(ELEMENT_HEADER, offset, 24);
CHECK_LAYOUT(ELEMENT_HEADER, gauge, 32);
CHECK_LAYOUT(ELEMENT_HEADER, previous_element, 36);
CHECK_LAYOUT(ELEMENT_HEADER, children, 40);
CHECK_LAYOUT(ELEMENT_HEADER, failures, 44);
CHECK_LAYOUT(ELEMENT_HEADER, draw_flags, 48);
CHECK_LAYOUT(ELEMENT_HEADER, instrumentation_flags, 52);
CHECK_LAYOUT(ELEMENT_HEADER, reserved, 56);
CHECK_SIZE(ELEMENT_STATIC_IMAGE, 96);
CHECK_SIZE(ELEMENT_NEEDLE, 236);
CHECK_LAYOUT(ELEMENT_NEEDLE, source, 60);
CHECK_LAYOUT(ELEMENT_NEEDLE, host_callback, 88);
CHECK_LAYOUT(ELEMENT_NEEDLE, nonlinearity, 112);
CHECK_LAYOUT(ELEMENT_NEEDLE, entry_count, 116);
CHECK_LAYOUT(ELEMENT_NEEDLE, turn_limit, 120);
CHECK_LAYOUT(ELEMENT_NEEDLE, host, 124);
CHECK_SIZE(ELEMENT_SLIDER, 192);
CHECK_LAYOUT(ELEMENT_SLIDER, source_x, 60);
CHECK_LAYOUT(ELEMENT_SLIDER, host_x, 88);
CHECK_LAYOUT(ELEMENT_SLIDER, scale_x, 92);
CHECK_LAYOUT(ELEMENT_SLIDER, host_between, 100);
CHECK_LAYOUT(ELEMENT_SLIDER, source_y, 104);
CHECK_LAYOUT(ELEMENT_SLIDER, host_y, 132);
CHECK_LAYOUT(ELEMENT_SLIDER, scale_y, 136);
CHECK_LAYOUT(ELEMENT_SLIDER, host, 144);
CHECK_SIZE(ELEMENT_ICON, 140);
CHECK_LAYOUT(ELEMENT_ICON, source, 60);
CHECK_LAYOUT(ELEMENT_ICON, host_source, 88);
CHECK_LAYOUT(ELEMENT_ICON, icon_mode, 92);
CHECK_LAYOUT(ELEMENT_ICON, host_mode, 96);
CHECK_LAYOUT(ELEMENT_ICON, scale, 100);
CHECK_LAYOUT(ELEMENT_ICON, offset, 108);
CHECK_LAYOUT(ELEMENT_ICON, picture_count, 112);
CHECK_LAYOUT(ELEMENT_ICON, host, 116);
CHECK_LAYOUT(ELEMENT_ICON, callback, 132);
CHECK_LAYOUT(ELEMENT_ICON, host_tail, 136);
CHECK_SIZE(ELEMENT_MOVING_IMAGE, 268);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, source_x, 60);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, min_x, 92);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, max_x, 100);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, host_between, 108);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, source_y, 112);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, host_y, 140);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, min_y, 144);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, max_y, 152);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, host, 160);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, callback_x, 244);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, callback_y, 248);
CHECK_LAYOUT(ELEMENT_MOVING_IMAGE, host_tail, 252);
CHECK_SIZE(ELEMENT_SPRITE, 352);
CHECK_LAYOUT(ELEMENT_SPRITE, source_x, 60);
CHECK_LAYOUT(ELEMENT_SPRITE, scale_x, 92);
CHECK_LAYOUT(ELEMENT_SPRITE, source_y, 100);
CHECK_LAYOUT(ELEMENT_SPRITE, host_y, 128);
CHECK_LAYOUT(ELEMENT_SPRITE, scale_y, 132);
CHECK_LAYOUT(ELEMENT_SPRITE, source_rotation, 140);
CHECK_LAYOUT(ELEMENT_SPRITE, host_rotation, 168);
CHECK_LAYOUT(ELEMENT_SPRITE, scale_rotation, 172);
CHECK_LAYOUT(ELEMENT_SPRITE, texture_scale_x, 180);
CHECK_LAYOUT(ELEMENT_SPRITE, texture_scale_y, 184);
CHECK_LAYOUT(ELEMENT_SPRITE, host, 188);
CHECK_LAYOUT(ELEMENT_SPRITE, callback_x, 316);
CHECK_LAYOUT(ELEMENT_SPRITE, callback_y, 320);
CHECK_LAYOUT(ELEMENT_SPRITE, callback_rotation, 324);
CHECK_LAYOUT(ELEMENT_SPRITE, host_tail, 328);
CHECK_SIZE(MOUSERECT, 44);
CHECK_LAYOUT(MOUSERECT, box, 4);
CHECK_LAYOUT(MOUSERECT, cursor, 20);
CHECK_LAYOUT(MOUSERECT, help_id, 24);
CHECK_LAYOUT(MOUSERECT, mouse_flags, 28);
CHECK_LAYOUT(MOUSERECT, event, 32);
CHECK_LAYOUT(MOUSERECT, function, 36);
CHECK_LAYOUT(MOUSERECT, host_data, 40);
CHECK_SIZE(GAUGEHDR, 252);
CHECK_LAYOUT(GAUGEHDR, name, 4);
CHECK_LAYOUT(GAUGEHDR, elements, 8);
CHECK_LAYOUT(GAUGEHDR, query, 12);
CHECK_LAYOUT(GAUGEHDR, kill, 36);
CHECK_LAYOUT(GAUGEHDR, reserved, 40);
CHECK_LAYOUT(GAUGEHDR, default_size_mm, 44);
CHECK_LAYOUT(GAUGEHDR, zero_48, 48);
CHECK_LAYOUT(GAUGEHDR, mouse_table, 80);
CHECK_LAYOUT(GAUGEHDR, gauge_callback, 84);
CHECK_LAYOUT(GAUGEHDR, user_data, 88);
CHECK_LAYOUT(GAUGEHDR, parameters, 92);
CHECK_LAYOUT(GAUGEHDR, usage, 96);
CHECK_LAYOUT(GAUGEHDR, zero_100, 100);
CHECK_LAYOUT(GAUGESLINKAGE, module_init, 4);
CHECK_LAYOUT(GAUGESLINKAGE, module_deinit, 8);
CHECK_LAYOUT(GAUGESLINKAGE, flags, 12);
CHECK_LAYOUT(GAUGESLINKAGE, priority, 16);
CHECK_LAYOUT(GAUGESLINKAGE, version, 20);
CHECK_LAYOUT(GAUGESLINKAGE, gauges, 24);
CHECK_SIZE(GAUGESLINKAGE, 24 + 4 * (GAUGE_COUNT + 1));
CHECK_SIZE(IMPORT_TABLE, 16);
CHECK_LAYOUT(IMPORT_TABLE, end, 8);
#undef CHECK_LAYOUT
#undef CHECK_SIZE
#endif
