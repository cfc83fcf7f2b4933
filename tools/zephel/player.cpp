#include "player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "errors.h"
#include "gif_writer.h"
#include "host/aircraft.h"
#include "output_file.h"
#include "sheet.h"

namespace zephel::cli {

namespace fs = std::filesystem;

namespace {

constexpr double PANEL_PX_PER_MM = 4.0;

std::string valid_gauges(const Host& host) {
    std::string s;
    for (const Gauge& g : host.module().gauges) s += std::string(s.empty() ? "" : ", ") + "\"" + g.name + "\"";
    return s;
}

const Gauge& named_gauge(const std::string& name, const std::string& where, const std::string& source, Host& host) {
    const Gauge* g = host.module().find(name);
    if (!g)
        throw Failure(source + ": " + where + ": unknown gauge \"" + name + "\"; the module's gauges are " +
                      valid_gauges(host));
    return *g;
}

// The aircraft loop moves these; a scenario changes them by clicking.
const char* owned_token_hint(uint32_t token) {
    switch (token) {
        case kTokenGear: return "click the undercarriage lever instead";
        case kTokenFlaps: return "click the flap lever instead";
        case kTokenSetCourse: return "click the course knob instead, or give it in \"start\"";
        default: return nullptr;
    }
}

void check_not_owned(uint32_t token, const std::string& where, const std::string& source) {
    if (const char* hint = owned_token_hint(token))
        throw Failure(source + ": " + where + ": token " + token_label(token) + " is moved by the aircraft loop; " +
                      hint);
}

std::vector<const Gauge*> shown_gauges(const Scenario& scenario, Host& host) {
    std::vector<const Gauge*> out;
    if (scenario.gauges.empty()) {
        for (const Gauge& g : host.module().gauges) out.push_back(&g);
    } else {
        for (const std::string& name : scenario.gauges) out.push_back(host.module().find(name));
    }
    return out;
}

struct ActiveRamp {
    uint32_t token;
    double from, to;
    int first_tick, ticks;
};

void show_progress(std::ostream& out, int done, int total) {
    constexpr int width = 30;
    const int filled = total ? done * width / total : width;
    out << "\r[" << std::string(static_cast<size_t>(filled), '#') << std::string(static_cast<size_t>(width - filled), '.')
        << "] " << (total ? done * 100 / total : 100) << "%  tick " << done << "/" << total << std::flush;
}

}  // namespace

void check_scenario(const Scenario& scenario, const std::string& source, Host& host) {
    for (size_t i = 0; i < scenario.gauges.size(); ++i)
        named_gauge(scenario.gauges[i], "gauges[" + std::to_string(i) + "]", source, host);
    for (const TokenSetting& s : scenario.start) {
        const std::string where = "start." + std::to_string(s.token);
        if (s.token == kTokenGear && s.value != 0.0 && s.value != 16383.0)
            throw Failure(source + ": " + where + ": the undercarriage starts either up (0) or down (16383)");
        if (s.token == kTokenFlaps && s.value != 0.0)
            throw Failure(source + ": " + where + ": the flaps start up (0); click the flap lever to lower them");
    }
    for (const ScenarioEntry& e : scenario.timeline) {
        for (const TokenSetting& s : e.set) check_not_owned(s.token, e.where + ".set", source);
        for (const ScenarioRamp& r : e.ramps) check_not_owned(r.token, e.where + ".ramp", source);
        if (e.click) {
            const Gauge& g = named_gauge(e.click->gauge, e.where + ".click.gauge", source, host);
            const auto [w, h] = host.picture_size(g);
            if (e.click->x < 0 || e.click->y < 0 || e.click->x >= w || e.click->y >= h)
                throw Failure(source + ": " + e.where + ".click: (" + std::to_string(e.click->x) + ", " +
                              std::to_string(e.click->y) + ") lies outside any gauge: \"" + g.name + "\" covers x 0 to " +
                              std::to_string(w - 1) + " and y 0 to " + std::to_string(h - 1));
        }
    }
}

const char* key_event_name(uint32_t event) {
    switch (event) {
        case kKeyGearToggle: return "gear toggle";
        case kKeyFlapsIncrease: return "flaps extend one notch";
        case kKeyFlapsDecrease: return "flaps retract one notch";
        case kKeyCourseIncrease: return "set course +1 degree";
        case kKeyCourseDecrease: return "set course -1 degree";
        case kKeySlatsDeploy: return "slats deploy";
        case kKeySlatsRetract: return "slats retract";
        default: return "unknown event";
    }
}

std::string format_key_log(const std::vector<KeyEvent>& events, double ticks_per_second) {
    struct Run {
        KeyEvent first;
        uint64_t last_tick;
        uint64_t count;
    };
    std::vector<Run> runs;
    std::map<std::pair<uint32_t, uint32_t>, size_t> open;  // event, parameter -> run index
    for (const KeyEvent& e : events) {
        const auto key = std::make_pair(e.event, e.parameter);
        const auto it = open.find(key);
        if (it != open.end() && (e.tick == runs[it->second].last_tick + 1 ||
                                 (e.tick == runs[it->second].last_tick && runs[it->second].count > 1))) {
            runs[it->second].last_tick = e.tick;
            ++runs[it->second].count;
            continue;
        }
        open[key] = runs.size();
        runs.push_back({e, e.tick, 1});
    }
    std::string out;
    char line[160];
    for (const Run& r : runs) {
        std::snprintf(line, sizeof line, "%7.2f s  tick %5llu", static_cast<double>(r.first.tick) / ticks_per_second,
                      static_cast<unsigned long long>(r.first.tick));
        out += line;
        if (r.count > 1)
            std::snprintf(line, sizeof line, "..%-5llu", static_cast<unsigned long long>(r.last_tick));
        else
            std::snprintf(line, sizeof line, "%7s", "");
        out += line;
        std::snprintf(line, sizeof line, "  0x%05X %s, parameter %u", r.first.event, key_event_name(r.first.event),
                      r.first.parameter);
        out += line;
        if (r.count > 1) out += ", every tick (" + std::to_string(r.count) + " times)";
        out += "\n";
    }
    return out;
}

PlayResult play(Host& host, const Scenario& scenario, const PlayOptions& options, std::ostream& progress_out) {
    // Outputs first, so that a path that cannot be written fails before the run.
    OutputFile gif_file(options.gif);
    fs::path frames_tmp;
    if (options.frames) {
        frames_tmp = *options.frames;
        frames_tmp += ".tmp-frames";
        std::error_code ec;
        fs::remove_all(frames_tmp, ec);
        if (!fs::create_directories(frames_tmp, ec) || ec)
            throw Failure(options.frames->string() + ": cannot make the frames directory here (" +
                          (ec ? ec.message() : std::string("already exists")) + ")");
    }
    struct RemoveFrames {
        fs::path dir;
        ~RemoveFrames() {
            std::error_code ec;
            if (!dir.empty()) fs::remove_all(dir, ec);
        }
    } frames_guard{frames_tmp};

    AircraftOptions aircraft_options;
    aircraft_options.tick_rate_hz = scenario.ticks_per_second;
    for (const TokenSetting& s : scenario.start) {
        if (s.token == kTokenGear) aircraft_options.gear_down = s.value != 0.0;
        else if (s.token == kTokenSetCourse) aircraft_options.set_course = s.value;
        else if (s.token != kTokenFlaps) host.set_token(s.token, s.value);
    }
    host.clear_key_events();
    Aircraft aircraft(host, aircraft_options);

    PanelSheet sheet(host, shown_gauges(scenario, host), PANEL_PX_PER_MM * options.scale, true);
    const int delay_cs = static_cast<int>(std::lround(100.0 / scenario.frames_per_second));
    GifAnimation gif(gif_file, sheet.width(), sheet.height(), delay_cs);

    PlayResult result;
    result.ticks = scenario.tick_count();
    result.width = sheet.width();
    result.height = sheet.height();
    std::vector<ActiveRamp> ramps;
    size_t next_entry = 0;
    int release_at = -1;
    int next_frame = 0;
    std::string note;
    for (int t = 0; t < result.ticks; ++t) {
        for (; next_entry < scenario.timeline.size() && scenario.tick_of(scenario.timeline[next_entry].at) <= t;
             ++next_entry) {
            const ScenarioEntry& e = scenario.timeline[next_entry];
            for (const TokenSetting& s : e.set) {
                std::erase_if(ramps, [&](const ActiveRamp& r) { return r.token == s.token; });
                host.set_token(s.token, s.value);
            }
            for (const ScenarioRamp& r : e.ramps) {
                std::erase_if(ramps, [&](const ActiveRamp& a) { return a.token == r.token; });
                ramps.push_back({r.token, host.token(r.token), r.to, t,
                                 std::max(1, static_cast<int>(std::lround(r.over * scenario.ticks_per_second)))});
            }
            for (uint32_t key : e.fail) host.set_failure(key, true);
            for (uint32_t key : e.repair) host.set_failure(key, false);
            if (e.click) {
                host.release();
                host.press(e.click->gauge, e.click->x, e.click->y);
                release_at = t + static_cast<int>(std::lround(e.click->hold * scenario.ticks_per_second));
            }
            if (!e.note.empty()) note = e.note;
        }
        for (const ActiveRamp& r : ramps) {
            const double f = std::min(1.0, static_cast<double>(t - r.first_tick + 1) / r.ticks);
            host.set_token(r.token, r.from + (r.to - r.from) * f);
        }
        std::erase_if(ramps, [&](const ActiveRamp& r) { return t - r.first_tick + 1 >= r.ticks; });

        aircraft.tick();
        if (release_at >= 0 && t >= release_at) {
            host.release();
            release_at = -1;
        }

        if (t >= static_cast<int>(std::floor(next_frame * scenario.ticks_per_second / scenario.frames_per_second))) {
            char caption[256];
            std::snprintf(caption, sizeof caption, "%s%s%5.1f s%s%s", scenario.name.c_str(),
                          scenario.name.empty() ? "" : "   ", t / scenario.ticks_per_second, note.empty() ? "" : "   ",
                          note.c_str());
            const Surface frame = sheet.draw(caption);
            gif.add_frame(reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(frame.get())),
                          cairo_image_surface_get_stride(frame.get()) / 4);
            if (options.frames) {
                char name[32];
                std::snprintf(name, sizeof name, "frame-%04d.png", next_frame);
                write_png_file(frame.get(), frames_tmp / name);
            }
            ++next_frame;
        }
        if (options.progress && (t % 9 == 0 || t + 1 == result.ticks)) show_progress(progress_out, t + 1, result.ticks);
    }
    host.release();
    if (options.progress) progress_out << "\r" << std::string(60, ' ') << "\r" << std::flush;

    gif.finish();
    gif_file.commit();
    if (options.frames) {
        std::error_code ec;
        if (fs::is_directory(*options.frames, ec)) {
            for (const auto& f : fs::directory_iterator(frames_tmp))
                fs::rename(f.path(), *options.frames / f.path().filename());
        } else {
            fs::rename(frames_tmp, *options.frames, ec);
            if (ec) throw Failure(options.frames->string() + ": cannot place the frames there (" + ec.message() + ")");
        }
    }
    result.frames = next_frame;
    result.key_events = host.key_events();
    return result;
}

}  // namespace zephel::cli
