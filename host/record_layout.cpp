// The two layouts: this machine's build of the records, and the simulator's
// 32-bit one.
#include <cstddef>

#include "frame/records.h"
#include "host/backend.h"

namespace zephel {

RecordLayout RecordLayout::native() {
    RecordLayout l;
    l.pointer_size = sizeof(void*);
    l.element = {offsetof(ELEMENT_HEADER, kind),        offsetof(ELEMENT_HEADER, bitmap),
                 offsetof(ELEMENT_HEADER, position.x),  offsetof(ELEMENT_HEADER, position.y),
                 offsetof(ELEMENT_HEADER, offset.x),    offsetof(ELEMENT_HEADER, offset.y),
                 offsetof(ELEMENT_HEADER, gauge),       offsetof(ELEMENT_HEADER, children),
                 offsetof(ELEMENT_HEADER, failures),    offsetof(ELEMENT_HEADER, draw_flags)};
    l.binding = {sizeof(MODULE_VAR), offsetof(MODULE_VAR, token), offsetof(MODULE_VAR, value)};
    l.needle = {offsetof(ELEMENT_NEEDLE, source), offsetof(ELEMENT_NEEDLE, nonlinearity),
                offsetof(ELEMENT_NEEDLE, entry_count), offsetof(ELEMENT_NEEDLE, turn_limit)};
    l.slider = {offsetof(ELEMENT_SLIDER, source_x), offsetof(ELEMENT_SLIDER, scale_x),
                offsetof(ELEMENT_SLIDER, source_y), offsetof(ELEMENT_SLIDER, scale_y)};
    l.icon = {offsetof(ELEMENT_ICON, source),  offsetof(ELEMENT_ICON, icon_mode),
              offsetof(ELEMENT_ICON, scale),   offsetof(ELEMENT_ICON, offset),
              offsetof(ELEMENT_ICON, picture_count), offsetof(ELEMENT_ICON, callback)};
    l.moving_image = {offsetof(ELEMENT_MOVING_IMAGE, source_x),  offsetof(ELEMENT_MOVING_IMAGE, min_x),
                      offsetof(ELEMENT_MOVING_IMAGE, max_x),     offsetof(ELEMENT_MOVING_IMAGE, source_y),
                      offsetof(ELEMENT_MOVING_IMAGE, min_y),     offsetof(ELEMENT_MOVING_IMAGE, max_y),
                      offsetof(ELEMENT_MOVING_IMAGE, callback_x), offsetof(ELEMENT_MOVING_IMAGE, callback_y)};
    l.sprite = {offsetof(ELEMENT_SPRITE, source_x),        offsetof(ELEMENT_SPRITE, scale_x),
                offsetof(ELEMENT_SPRITE, source_y),        offsetof(ELEMENT_SPRITE, scale_y),
                offsetof(ELEMENT_SPRITE, source_rotation), offsetof(ELEMENT_SPRITE, scale_rotation),
                offsetof(ELEMENT_SPRITE, texture_scale_x), offsetof(ELEMENT_SPRITE, texture_scale_y),
                offsetof(ELEMENT_SPRITE, callback_x),      offsetof(ELEMENT_SPRITE, callback_y),
                offsetof(ELEMENT_SPRITE, callback_rotation)};
    l.nonlinearity = {sizeof(NONLINEARITY), offsetof(NONLINEARITY, point.x), offsetof(NONLINEARITY, point.y),
                      offsetof(NONLINEARITY, value)};
    l.failure = {sizeof(FAILURE_RECORD), offsetof(FAILURE_RECORD, key), offsetof(FAILURE_RECORD, action)};
    l.mouse_row = {sizeof(MOUSERECT),           offsetof(MOUSERECT, row_type),
                   offsetof(MOUSERECT, box.x),     offsetof(MOUSERECT, box.y),
                   offsetof(MOUSERECT, box.width), offsetof(MOUSERECT, box.height),
                   offsetof(MOUSERECT, cursor),    offsetof(MOUSERECT, help_id),
                   offsetof(MOUSERECT, mouse_flags), offsetof(MOUSERECT, event),
                   offsetof(MOUSERECT, function)};
    l.gauge = {offsetof(GAUGEHDR, version), offsetof(GAUGEHDR, name),
               offsetof(GAUGEHDR, elements), offsetof(GAUGEHDR, query),
               offsetof(GAUGEHDR, default_size_mm), offsetof(GAUGEHDR, mouse_table)};
    l.linkage = {offsetof(GAUGESLINKAGE, module_id), offsetof(GAUGESLINKAGE, module_init),
                 offsetof(GAUGESLINKAGE, module_deinit), offsetof(GAUGESLINKAGE, flags),
                 offsetof(GAUGESLINKAGE, priority), offsetof(GAUGESLINKAGE, version),
                 offsetof(GAUGESLINKAGE, gauges)};
    l.import_table = {sizeof(IMPORT_TABLE), offsetof(IMPORT_TABLE, panel_services.id),
                      offsetof(IMPORT_TABLE, panel_services.pointer)};
    return l;
}

RecordLayout RecordLayout::win32() {
    RecordLayout l;
    l.pointer_size = 4;
    l.element = {0, 4, 8, 12, 24, 28, 32, 40, 44, 48};
    l.binding = {28, 0, 12};
    l.needle = {60, 112, 116, 120};
    l.slider = {60, 92, 104, 136};
    l.icon = {60, 92, 100, 108, 112, 132};
    l.moving_image = {60, 92, 100, 112, 144, 152, 244, 248};
    l.sprite = {60, 92, 100, 132, 140, 172, 180, 184, 316, 320, 324};
    l.nonlinearity = {24, 0, 4, 8};
    l.failure = {12, 0, 4};
    l.mouse_row = {44, 0, 4, 8, 12, 16, 20, 24, 28, 32, 36};
    l.gauge = {0, 4, 8, 12, 44, 80};
    l.linkage = {0, 4, 8, 12, 16, 20, 24};
    l.import_table = {16, 0, 4};
    return l;
}

}  // namespace zephel
