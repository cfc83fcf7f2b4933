// Scenario files: a timeline of token values, failures and clicks that
// `zephel play` runs through the aircraft loop.
//
//   {
//     "name": "gear up",                 optional caption
//     "ticks_per_second": 18,            update ticks per second (1..100)
//     "frames_per_second": 9,            animation frames per second (1..50)
//     "duration": 6,                     seconds; default: last entry + 1 s
//     "gauges": ["UnderCarriage_Lever"], gauges drawn; default: all
//     "start": {"airspeed": 140},        token values before the first tick
//     "timeline": [
//       {"at": 1, "click": {"gauge": "UnderCarriage_Lever", "x": 80, "y": 35}},
//       {"at": 2, "ramp": {"height": {"to": 300, "over": 3}}},
//       {"at": 2, "set": {"bank": 15}, "note": "turn"},
//       {"at": 3, "fail": [8]}, {"at": 4, "repair": [8]}
//     ]
//   }
//
// Tokens are named by number ("61") or by the short names of tokens.h.
// The reader checks everything it can without the module; gauge names and
// click positions are checked against the module's gauges by the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tokens.h"

namespace zephel::cli {

struct ScenarioClick {
    std::string gauge;
    int x = 0;
    int y = 0;
    double hold = 0.0;  // seconds the button stays down; 0 = a single click
};

struct ScenarioRamp {
    uint32_t token;
    double to;
    double over;  // seconds, > 0
};

struct ScenarioEntry {
    std::string where;  // "timeline[3]", for messages
    double at = 0.0;    // seconds from the start
    std::vector<TokenSetting> set;
    std::vector<ScenarioRamp> ramps;
    std::vector<uint32_t> fail;
    std::vector<uint32_t> repair;
    std::optional<ScenarioClick> click;
    std::string note;
};

struct Scenario {
    std::string name;
    double ticks_per_second = 18.0;
    double frames_per_second = 9.0;
    double duration = 0.0;
    std::vector<std::string> gauges;  // empty: every gauge
    std::vector<TokenSetting> start;
    std::vector<ScenarioEntry> timeline;  // in time order (stable for equal times)

    int tick_count() const;                 // ticks to run
    int tick_of(double seconds) const;      // the tick at which a time falls
};

// Reads a scenario from its text; `source` names it in messages. Throws
// Failure with one message: "<source>:<line>:<column>: ..." for JSON syntax,
// "<source>: <path>: ..." for a field that is unknown, missing or wrong.
Scenario parse_scenario(std::string_view text, const std::string& source);

// Reads the file; a file that cannot be read is a Failure naming it.
Scenario read_scenario_file(const std::string& path);

}  // namespace zephel::cli
