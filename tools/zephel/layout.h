// Where the gauges sit on a panel: rows in the manner of the aircraft's
// instrument panel, each gauge at its default size (in the panel's units,
// which panel.cfg calls millimetres). Shared by `panelcfg` and the sheets
// drawn by `panel` and `play`.
#pragma once

#include <string>
#include <vector>

namespace zephel::cli {

struct GaugeShape {
    std::string name;
    int default_size = 0;     // units (mm) across
    int picture_width = 0;    // pixels of the background picture
    int picture_height = 0;
};

struct Placement {
    std::string name;
    int x = 0, y = 0;           // top-left, panel units
    int width = 0, height = 0;  // panel units
};

struct PanelLayout {
    int width = 0, height = 0;  // panel units
    std::vector<Placement> gauges;
    const Placement* find(const std::string& name) const;
};

// Places the given gauges: flight instruments in the top row, heading
// instruments and controls below; any gauge not named in the rows goes to a
// last row, so new gauges always find a place. `label_room` adds space under
// each row for a caption.
PanelLayout lay_out_panel(const std::vector<GaugeShape>& gauges, int label_room = 0);

// The [Window00] section of an aircraft's panel.cfg for the layout.
std::string panel_cfg_section(const PanelLayout& layout, const std::string& module_name);

}  // namespace zephel::cli
