// `zephel play`: runs a scenario through the aircraft loop tick by tick,
// draws the panel (or the scenario's gauges) as an animation and keeps the
// module's key events for the log.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/host.h"
#include "scenario.h"

namespace zephel::cli {

// Checks the scenario against the module's gauges: gauge names, click
// positions, tokens the aircraft loop owns. Throws Failure naming the entry.
void check_scenario(const Scenario& scenario, const std::string& source, Host& host);

struct PlayOptions {
    std::filesystem::path gif;                     // the animation
    std::optional<std::filesystem::path> frames;   // also every frame as PNG here
    double scale = 0.75;                           // of the 4 pixels per mm panel sheet
    bool progress = false;                         // draw a progress bar on `progress_out`
};

struct PlayResult {
    int ticks = 0;
    int frames = 0;
    int width = 0, height = 0;
    std::vector<KeyEvent> key_events;
};

PlayResult play(Host& host, const Scenario& scenario, const PlayOptions& options, std::ostream& progress_out);

// What a key event means in the aircraft loop, e.g. "gear toggle".
const char* key_event_name(uint32_t event);

// The key-event log, one line per run of an event repeated on consecutive
// ticks: "  0.06 s  tick     1        0x10022 gear toggle, parameter 0".
std::string format_key_log(const std::vector<KeyEvent>& events, double ticks_per_second);

}  // namespace zephel::cli
