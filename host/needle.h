// Needle directions by the clockwise rule over a nonlinearity table.
//
// Each entry's direction is the direction from the pivot to its point, in
// degrees clockwise from straight up. Consecutive entries are joined
// clockwise, through however much of a turn that takes (0 when both point
// the same way, so a stop pair stands still). The "travel" of a value is the
// first entry's direction plus the clockwise turn along the table up to the
// value, linear in the value between entries; past either end of the table
// the needle holds the end entry's direction. Values may ascend or descend.
#pragma once

#include <optional>
#include <span>

#include "host/model.h"

namespace zephel {

// Direction of (x, y) seen from (pivot_x, pivot_y): degrees clockwise from
// straight up (y decreasing), in [0, 360). 0 when the points coincide.
double direction_degrees(double pivot_x, double pivot_y, double x, double y);

// The travel (unwrapped angle) for `value`; nothing for an empty table or a
// value that is not a number (the needle then stays where it was).
std::optional<double> needle_travel(std::span<const NonlinearityEntry> table, double pivot_x,
                                    double pivot_y, double value);

// Moves `from` towards `to` by at most `limit` degrees (limit <= 0: no limit).
double limit_turn(double from, double to, double limit);

// An unwrapped angle brought into [0, 360).
double wrap_degrees(double degrees);

}  // namespace zephel
