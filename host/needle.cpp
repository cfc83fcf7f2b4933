#include "host/needle.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zephel {

double wrap_degrees(double degrees) {
    double w = std::fmod(degrees, 360.0);
    if (w < 0.0) w += 360.0;
    if (w >= 360.0) w -= 360.0;  // -1e-20 + 360 rounds to 360
    return w;
}

double direction_degrees(double pivot_x, double pivot_y, double x, double y) {
    const double dx = x - pivot_x, dy = y - pivot_y;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    // Straight up is -y; clockwise on a y-down screen turns up towards +x.
    return wrap_degrees(std::atan2(dx, -dy) * 180.0 / M_PI);
}

std::optional<double> needle_travel(std::span<const NonlinearityEntry> table, double pivot_x,
                                    double pivot_y, double value) {
    if (table.empty() || std::isnan(value)) return std::nullopt;
    // Travel at each entry: the first entry's direction, then each clockwise turn.
    std::vector<double> travel(table.size());
    double previous = direction_degrees(pivot_x, pivot_y, table[0].x, table[0].y);
    travel[0] = previous;
    for (size_t i = 1; i < table.size(); ++i) {
        const double here = direction_degrees(pivot_x, pivot_y, table[i].x, table[i].y);
        travel[i] = travel[i - 1] + wrap_degrees(here - previous);
        previous = here;
    }
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        const double v0 = table[i].value, v1 = table[i + 1].value;
        if (value >= std::min(v0, v1) && value <= std::max(v0, v1)) {
            if (v0 == v1) return travel[i];
            const double t = (value - v0) / (v1 - v0);
            return travel[i] + t * (travel[i + 1] - travel[i]);
        }
    }
    // Past an end: hold the end entry that lies on the value's side.
    const bool ascending = table.back().value >= table.front().value;
    const bool before_first = ascending ? value < table.front().value : value > table.front().value;
    return before_first ? travel.front() : travel.back();
}

double limit_turn(double from, double to, double limit) {
    if (limit <= 0.0) return to;
    if (to > from + limit) return from + limit;
    if (to < from - limit) return from - limit;
    return to;
}

}  // namespace zephel
