#include "layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zephel::cli {

namespace {

constexpr int GAP = 6;

// The panel's rows, left to right. The invisible slat control sits at the
// end of the top row, out of the way beside the placard.
const std::vector<std::vector<std::string>>& panel_rows() {
    static const std::vector<std::vector<std::string>> rows = {
        {"Airspeed_Indicator", "Artificial_Horizon", "Radio_Altimeter", "GearFlap_Placard", "AutoSlat_Control"},
        {"Compass", "Heading Indicator", "UnderCarriage_Lever", "Flap_Lever"},
    };
    return rows;
}

int height_of(const GaugeShape& g) {
    if (g.picture_width <= 0) return g.default_size;
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(g.default_size) * g.picture_height /
                                                    g.picture_width)));
}

}  // namespace

const Placement* PanelLayout::find(const std::string& name) const {
    for (const Placement& p : gauges)
        if (p.name == name) return &p;
    return nullptr;
}

PanelLayout lay_out_panel(const std::vector<GaugeShape>& gauges, int label_room) {
    std::vector<std::vector<const GaugeShape*>> rows;
    std::vector<const GaugeShape*> rest;
    for (const auto& row : panel_rows()) {
        rows.emplace_back();
        for (const std::string& name : row)
            for (const GaugeShape& g : gauges)
                if (g.name == name) rows.back().push_back(&g);
    }
    for (const GaugeShape& g : gauges) {
        bool placed = false;
        for (const auto& row : rows) placed = placed || std::find(row.begin(), row.end(), &g) != row.end();
        if (!placed) rest.push_back(&g);
    }
    rows.push_back(rest);

    PanelLayout layout;
    int y = GAP;
    for (const auto& row : rows) {
        if (row.empty()) continue;
        int x = GAP, row_height = 0;
        for (const GaugeShape* g : row) {
            const int h = height_of(*g);
            layout.gauges.push_back({g->name, x, y, g->default_size, h});
            x += g->default_size + GAP;
            row_height = std::max(row_height, h);
        }
        layout.width = std::max(layout.width, x);
        y += row_height + label_room + GAP;
    }
    layout.height = std::max(y, GAP);
    layout.width = std::max(layout.width, GAP);
    // Centre each gauge vertically in its row's band is not needed: rows
    // line up along their tops, as panel makers mount instruments.
    return layout;
}

std::string panel_cfg_section(const PanelLayout& layout, const std::string& module_name) {
    std::string s = "[Window00]\n";
    char line[256];
    std::snprintf(line, sizeof line, "size_mm=%d,%d\n", layout.width, layout.height);
    s += line;
    s += "position=7\nvisible=1\nident=MAIN_PANEL\n\n";
    int n = 0;
    for (const Placement& p : layout.gauges) {
        std::snprintf(line, sizeof line, "gauge%02d=%s!%s, %d,%d,%d,%d\n", n++, module_name.c_str(), p.name.c_str(),
                      p.x, p.y, p.width, p.height);
        s += line;
    }
    return s;
}

}  // namespace zephel::cli
