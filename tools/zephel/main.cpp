// zephel: the workbench for Rt_Zephel.gau. It loads the module the way the
// simulator does, feeds it token values, draws its gauges, clicks them and
// logs the key events the module sends.
//
// Exit status: 0 success; 2 a command line that cannot be right (unknown
// gauge, malformed --set or --fail, unknown option); 1 anything found wrong
// later (a scenario file, a bitmap, an output path).
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <set>

#include "backend_choice.h"
#include "errors.h"
#include "host/host.h"
#include "layout.h"
#include "player.h"
#include "scenario.h"
#include "sheet.h"
#include "tokens.h"

using namespace zephel;
using namespace zephel::cli;

namespace {

constexpr double PANEL_PX_PER_MM = 4.0;
constexpr const char* MODULE_NAME = "Rt_Zephel";

// What every drawing and state command takes: token values, failures and
// how many update ticks to run before looking.
struct Conditions {
    std::vector<std::string> set;
    std::vector<std::string> fail;
    int ticks = 1;

    void add_to(CLI::App* cmd) {
        cmd->add_option("--set", set, "Token value before the ticks, TOKEN=VALUE; TOKEN is a number (61) or a "
                                      "name (airspeed, slip, pitch, bank, heading, course, flaps, gear, height)")
            ->allow_extra_args(false)
            ->type_name("TOKEN=VALUE");
        cmd->add_option("--fail", fail, "Failure key switched on (e.g. 8); repeat for more")
            ->allow_extra_args(false)
            ->type_name("KEY");
        cmd->add_option("--ticks", ticks, "Update ticks to run before looking (needles move by their turn "
                                          "limit after the first)")
            ->check(CLI::Range(1, 100000));
    }

    void apply(Host& host) const {
        for (const std::string& s : set) {
            const TokenSetting t = parse_setting(s, "--set");
            host.set_token(t.token, t.value);
        }
        for (const std::string& f : fail) host.set_failure(parse_failure_key(f, "--fail"), true);
        for (int i = 0; i < ticks; ++i) host.tick();
    }

    // Malformed values are usage errors: check them before loading anything.
    void check() const {
        for (const std::string& s : set) parse_setting(s, "--set");
        for (const std::string& f : fail) parse_failure_key(f, "--fail");
    }
};

const Gauge& find_gauge(Host& host, const std::string& name) {
    if (const Gauge* g = host.module().find(name)) return *g;
    std::string valid;
    for (const Gauge& g : host.module().gauges) valid += "\n  " + g.name;
    throw UsageError("unknown gauge \"" + name + "\"; the module's gauges are:" + valid +
                     "\n(quote a name with a space: \"Heading Indicator\")");
}

std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

// ---- inspect ---------------------------------------------------------------

// The key events a gauge sends, found the way a tester would: clicking each
// child row and evaluating each value callback over a spread of values.
std::vector<std::pair<uint32_t, uint32_t>> probe_key_events(Host& host, const Gauge& gauge) {
    std::set<std::pair<uint32_t, uint32_t>> found;
    host.clear_key_events();
    for (const MouseRow* row : gauge.child_rows()) {
        host.press(gauge, row->x + row->width / 2, row->y + row->height / 2);
        host.release();
    }
    Backend& backend = host.backend();
    const RecordLayout& layout = backend.layout();
    static const double samples[] = {-1000.0, -100.0, 0.0, 50.0, 100.0, 200.0, 400.0, 1000.0, 16383.0, NAN};
    for (const Element& e : gauge.elements) {
        const std::pair<const Binding*, Address> axes[] = {
            {&e.source, e.callback}, {&e.source_x, e.callback_x}, {&e.source_y, e.callback_y},
            {&e.source_rotation, e.callback_rotation}};
        for (const auto& [binding, callback] : axes) {
            if (!callback) continue;
            for (double v : samples) {
                if (binding->address) backend.write_f64(binding->address + layout.binding.value, v);
                backend.call_value_callback(callback, e.address);
            }
        }
    }
    for (const KeyEvent& k : host.key_events()) found.insert({k.event, k.parameter});
    host.clear_key_events();
    return {found.begin(), found.end()};
}

std::string list_or_none(const std::vector<std::string>& items) {
    if (items.empty()) return "none";
    std::string s;
    for (const std::string& i : items) s += (s.empty() ? "" : ", ") + i;
    return s;
}

int cmd_inspect(Host& host, const std::string& only) {
    const Module& module = host.module();
    std::printf("%s: module id %s, %zu gauges\n", MODULE_NAME, hex(module.module_id).c_str(), module.gauges.size());
    for (const Gauge& g : module.gauges) {
        if (!only.empty() && g.name != only) continue;
        const auto [w, h] = host.picture_size(g);
        std::printf("\n%s  (position %d in Linkage)\n", g.name.c_str(), g.index);
        std::printf("  default size     %u mm\n", g.default_size_mm);
        std::printf("  picture size     %d x %d pixels\n", w, h);
        std::printf("  help id          %u\n", g.help_id);
        std::printf("  elements         %zu, in drawing order:\n", g.elements.size());
        for (size_t i = 0; i < g.elements.size(); ++i) {
            const Element& e = g.elements[i];
            std::string extra;
            if (e.kind == ElementKind::Needle)
                extra = ", " + std::to_string(e.table.size()) + "-entry table, turn limit " +
                        (e.turn_limit ? std::to_string(e.turn_limit) + " deg/tick" : std::string("none"));
            if (e.kind == ElementKind::MovingImage || e.kind == ElementKind::Sprite)
                extra = ", mask " + hex(e.mask_bitmap());
            if (e.callback || e.callback_x || e.callback_y || e.callback_rotation) extra += ", value callback";
            if (!e.failures.empty()) extra += ", failure list";
            std::printf("    %zu. %-13s %s at (%d, %d) draw flags %s%s\n", i, kind_name(e.kind), hex(e.bitmap).c_str(),
                        e.position_x, e.position_y, hex(e.draw_flags).c_str(), extra.c_str());
        }
        std::vector<std::string> tokens, keys, events, rows;
        for (uint32_t t : g.tokens()) tokens.push_back(token_label(t));
        for (uint32_t k : g.failure_keys()) {
            std::string actions;
            for (const Element& e : g.elements)
                for (const FailureEntry& f : e.failures)
                    if (f.key == k && actions.find(std::to_string(f.action)) == std::string::npos)
                        actions += (actions.empty() ? "" : "/") + std::to_string(f.action);
            keys.push_back(std::to_string(k) + " (action " + actions + ")");
        }
        for (const auto& [event, parameter] : probe_key_events(host, g))
            events.push_back(hex(event) + " " + key_event_name(event) + " (parameter " + std::to_string(parameter) + ")");
        for (const MouseRow* r : g.child_rows()) {
            char buf[160];
            std::snprintf(buf, sizeof buf, "box (%d, %d) %d x %d, cursor %d, flags 0x%08X, %s", r->x, r->y, r->width,
                          r->height, r->cursor, r->flags, r->function ? "calls a function" : "no function");
            rows.push_back(buf);
        }
        std::printf("  tokens read      %s\n", list_or_none(tokens).c_str());
        std::printf("  key events sent  %s\n", list_or_none(events).c_str());
        std::printf("  failure keys     %s\n", list_or_none(keys).c_str());
        std::printf("  mouse rows       %s\n", rows.empty() ? "none" : (std::to_string(rows.size()) + " child rows:").c_str());
        for (const std::string& r : rows) std::printf("    %s\n", r.c_str());
    }
    return 0;
}

// ---- state -------------------------------------------------------------------

nlohmann::json state_json(Host& host, const Gauge& gauge, const Conditions& c) {
    using nlohmann::json;
    json out;
    out["gauge"] = gauge.name;
    out["ticks"] = c.ticks;
    json tokens = json::object();
    for (const auto& [t, v] : host.tokens()) tokens[std::to_string(t)] = v;
    out["tokens"] = tokens;
    out["failures"] = json(std::vector<uint32_t>(host.failures().begin(), host.failures().end()));
    json elements = json::array();
    const auto& states = host.states(gauge);
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
        const Element& e = gauge.elements[i];
        const ElementState& s = states[i];
        json j;
        j["index"] = i;
        j["kind"] = kind_name(e.kind);
        j["bitmap"] = hex(e.bitmap);
        json axes = json::array();
        for (const AxisState& a : s.axes)
            axes.push_back({{"axis", a.axis}, {"token", a.token}, {"token_value", a.token_value},
                            {"callback", a.called_back}, {"value", a.value}});
        j["axes"] = axes;
        switch (e.kind) {
            case ElementKind::Needle:
                j["angle"] = s.angle;
                j["target_angle"] = s.target_angle;
                break;
            case ElementKind::Slider:
            case ElementKind::MovingImage:
                j["shift_x"] = s.shift_x;
                j["shift_y"] = s.shift_y;
                break;
            case ElementKind::Sprite:
                j["shift_x"] = s.shift_x;
                j["shift_y"] = s.shift_y;
                j["rotation"] = s.rotation;
                break;
            case ElementKind::Icon:
                j["picture"] = s.picture;
                j["picture_bitmap"] = hex(e.bitmap + static_cast<uint32_t>(std::max(0, s.picture)));
                break;
            case ElementKind::StaticImage:
                break;
        }
        j["frozen"] = s.frozen;
        elements.push_back(j);
    }
    out["elements"] = elements;
    json events = json::array();
    for (const KeyEvent& k : host.key_events())
        events.push_back({{"event", hex(k.event)}, {"name", key_event_name(k.event)}, {"parameter", k.parameter},
                          {"tick", k.tick}});
    out["key_events"] = events;
    return out;
}

int cmd_state(Host& host, const Gauge& gauge, const Conditions& c, const std::string& click, bool as_json) {
    host.clear_key_events();
    if (!click.empty()) {
        int x = 0, y = 0;
        char tail = 0;
        if (std::sscanf(click.c_str(), "%d,%d%c", &x, &y, &tail) != 2)
            throw UsageError("--click '" + click + "': expected X,Y in the gauge's pixels, e.g. 80,35");
        const auto [w, h] = host.picture_size(gauge);
        if (x < 0 || y < 0 || x >= w || y >= h)
            throw UsageError("--click " + click + ": lies outside the gauge; \"" + gauge.name + "\" covers x 0 to " +
                             std::to_string(w - 1) + " and y 0 to " + std::to_string(h - 1));
        host.press(gauge, x, y);
        host.release();
    }
    c.apply(host);
    const nlohmann::json j = state_json(host, gauge, c);
    if (as_json) {
        std::cout << j.dump(2) << "\n";
        return 0;
    }
    std::printf("%s after %d tick%s\n", gauge.name.c_str(), c.ticks, c.ticks == 1 ? "" : "s");
    for (const auto& e : j["elements"]) {
        std::printf("  %llu. %-13s %s", static_cast<unsigned long long>(e["index"].get<size_t>()),
                    e["kind"].get<std::string>().c_str(), e["bitmap"].get<std::string>().c_str());
        for (const char* f : {"angle", "shift_x", "shift_y", "rotation", "picture"})
            if (e.contains(f)) std::printf("  %s %.3f", f, e[f].get<double>());
        if (e["frozen"].get<bool>()) std::printf("  frozen");
        std::printf("\n");
        for (const auto& a : e["axes"])
            std::printf("       %-8s token %-4u value %g%s -> %g\n", a["axis"].get<std::string>().c_str(),
                        a["token"].get<uint32_t>(), a["token_value"].get<double>(),
                        a["callback"].get<bool>() ? " via callback" : "", a["value"].get<double>());
    }
    std::printf("key events:\n%s", format_key_log(host.key_events(), 18.0).c_str());
    return 0;
}

// ---- render, panel, panelcfg -------------------------------------------------------

int cmd_render(Host& host, const Gauge& gauge, const Conditions& c, double scale, const std::string& out) {
    c.apply(host);
    const Surface s = to_surface(host.render(gauge), scale);
    write_png_file(s.get(), out);
    std::printf("wrote %s (%d x %d)\n", out.c_str(), cairo_image_surface_get_width(s.get()),
                cairo_image_surface_get_height(s.get()));
    return 0;
}

std::vector<const Gauge*> all_gauges(Host& host) {
    std::vector<const Gauge*> out;
    for (const Gauge& g : host.module().gauges) out.push_back(&g);
    return out;
}

int cmd_panel(Host& host, const Conditions& c, double scale, const std::string& out) {
    c.apply(host);
    PanelSheet sheet(host, all_gauges(host), PANEL_PX_PER_MM * scale);
    const Surface s = sheet.draw();
    write_png_file(s.get(), out);
    std::printf("wrote %s (%d x %d, %zu gauges)\n", out.c_str(), sheet.width(), sheet.height(),
                host.module().gauges.size());
    return 0;
}

int cmd_panelcfg(Host& host) {
    const PanelLayout layout = lay_out_panel(gauge_shapes(host, all_gauges(host)));
    std::fputs(panel_cfg_section(layout, MODULE_NAME).c_str(), stdout);
    return 0;
}

// ---- play ---------------------------------------------------------------------

int cmd_play(Host& host, const std::string& path, const Scenario& scenario, const PlayOptions& options) {
    check_scenario(scenario, path, host);
    const PlayResult r = play(host, scenario, options, std::cout);
    std::printf("%s: %d ticks (%.1f s at %g ticks/s), %d frames %d x %d -> %s\n",
                scenario.name.empty() ? path.c_str() : scenario.name.c_str(), r.ticks,
                r.ticks / scenario.ticks_per_second, scenario.ticks_per_second, r.frames, r.width, r.height,
                options.gif.c_str());
    std::printf("key events:\n%s", format_key_log(r.key_events, scenario.ticks_per_second).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"zephel: the workbench for Rt_Zephel.gau. It stands in for the simulator: loads the module, "
                 "feeds it token values, draws its gauges, clicks them and logs the key events it sends.",
                 "zephel"};
    app.require_subcommand(1);
    app.fallthrough();
    BackendChoice choice;
    app.add_option("--resources", choice.resources_dir,
                   "Directory of the bitmaps (XXXX.bmp) for the linked module; default: the source tree's resources/");
    app.add_option("--module", choice.module_path, "A built Rt_Zephel.gau, run in the x86 emulator instead of "
                                                   "the module linked into zephel");

    std::string gauge_name, out, scenario_path, click;
    std::string frames_dir;
    double scale = 1.0;
    bool as_json = false;
    Conditions conditions;

    CLI::App* inspect = app.add_subcommand("inspect", "Data sheet of the module: each gauge's name, default size, "
                                                      "picture size, elements, tokens, key events, failure keys, help id");
    inspect->add_option("GAUGE", gauge_name, "Only this gauge");

    CLI::App* render = app.add_subcommand("render", "Draw one gauge to a PNG");
    render->add_option("GAUGE", gauge_name, "Gauge name, e.g. Airspeed_Indicator or \"Heading Indicator\"")->required();
    conditions.add_to(render);
    render->add_option("--scale", scale, "Scale of the picture (e.g. 2, or 0.5)")->check(CLI::Range(0.05, 16.0));
    render->add_option("-o,--output", out, "PNG file to write")->required();

    CLI::App* panel = app.add_subcommand("panel", "Draw every gauge on one labelled panel sheet, each at its "
                                                  "default size (4 pixels per mm at scale 1)");
    conditions.add_to(panel);
    panel->add_option("--scale", scale, "Scale of the sheet")->check(CLI::Range(0.1, 8.0));
    panel->add_option("-o,--output", out, "PNG file to write")->required();

    CLI::App* state = app.add_subcommand("state", "Each element's derived state (needle angle in degrees "
                                                  "clockwise from straight up, shifts, picture, callback results) "
                                                  "and the key events sent");
    state->add_option("GAUGE", gauge_name, "Gauge name")->required();
    conditions.add_to(state);
    state->add_option("--click", click, "Click the gauge at X,Y (its own pixels) before the ticks");
    state->add_flag("--json", as_json, "Print JSON for scripts");

    CLI::App* play_cmd = app.add_subcommand("play", "Run a scenario (token values, failures, clicks over time) "
                                                    "through the aircraft loop and draw it as an animated GIF");
    play_cmd->add_option("SCENARIO", scenario_path, "Scenario file (JSON; see README)")->required();
    play_cmd->add_option("-o,--output", out, "GIF file to write")->required();
    play_cmd->add_option("--frames", frames_dir, "Also write every frame as DIR/frame-NNNN.png");
    double play_scale = 0.75;
    play_cmd->add_option("--scale", play_scale, "Scale of the panel sheet (1 = 4 pixels per mm)")
        ->capture_default_str()
        ->check(CLI::Range(0.1, 4.0));

    app.add_subcommand("panelcfg", "Print a [Window00] section of an aircraft's panel.cfg placing every gauge "
                                   "at its default size");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return e.get_exit_code() == 0 ? 0 : EXIT_USAGE;
    }

    try {
        conditions.check();
        // Scenario problems are found before the module is loaded.
        Scenario scenario;
        if (play_cmd->parsed()) scenario = read_scenario_file(scenario_path);

        const std::unique_ptr<Backend> backend = open_backend(choice);
        Host host(*backend);
        if (inspect->parsed()) {
            if (!gauge_name.empty()) find_gauge(host, gauge_name);
            return cmd_inspect(host, gauge_name);
        }
        if (render->parsed()) return cmd_render(host, find_gauge(host, gauge_name), conditions, scale, out);
        if (panel->parsed()) return cmd_panel(host, conditions, scale, out);
        if (state->parsed()) return cmd_state(host, find_gauge(host, gauge_name), conditions, click, as_json);
        if (play_cmd->parsed()) {
            PlayOptions options;
            options.gif = out;
            if (!frames_dir.empty()) options.frames = frames_dir;
            options.scale = play_scale;
            options.progress = ::isatty(STDOUT_FILENO) != 0;
            return cmd_play(host, scenario_path, scenario, options);
        }
        return cmd_panelcfg(host);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zephel: %s\n", e.what());
        return EXIT_USAGE;
    } catch (const std::exception& e) {  // Failure, HostError and the rest
        std::fprintf(stderr, "zephel: %s\n", e.what());
        return EXIT_FAILED;
    }
}
