#include "scenario.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "errors.h"

namespace zephel::cli {

namespace {

using nlohmann::json;

constexpr double MAX_SECONDS = 600.0;

class Reader {
public:
    explicit Reader(const std::string& source) : source_(source) {}

    [[noreturn]] void fail(const std::string& where, const std::string& what) const {
        throw Failure(source_ + ": " + where + ": " + what);
    }

    void only_fields(const json& object, const std::string& where,
                     std::initializer_list<const char*> allowed) const {
        for (const auto& item : object.items()) {
            const std::string& key = item.key();
            if (std::none_of(allowed.begin(), allowed.end(), [&](const char* a) { return key == a; })) {
                std::string list;
                for (const char* a : allowed) list += std::string(list.empty() ? "" : ", ") + a;
                fail(where, "unknown field \"" + key + "\"; expected one of " + list);
            }
        }
    }

    const json& object(const json& value, const std::string& where) const {
        if (!value.is_object()) fail(where, "expected an object {...}, found " + kind(value));
        return value;
    }

    double number(const json& value, const std::string& where, double lo, double hi) const {
        if (!value.is_number()) fail(where, "expected a number, found " + kind(value));
        const double v = value.get<double>();
        if (!std::isfinite(v) || v < lo || v > hi)
            fail(where, "expected a number from " + fmt(lo) + " to " + fmt(hi) + ", found " + value.dump());
        return v;
    }

    int integer(const json& value, const std::string& where, int lo, int hi) const {
        if (!value.is_number_integer())
            fail(where, "expected a whole number, found " + (value.is_number() ? value.dump() : kind(value)));
        const auto v = value.get<int64_t>();
        if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(hi))
            fail(where, "expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                            ", found " + value.dump());
        if (v < lo || v > hi)
            fail(where, "expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                            ", found " + value.dump());
        return static_cast<int>(v);
    }

    std::string string(const json& value, const std::string& where) const {
        if (!value.is_string()) fail(where, "expected a string, found " + kind(value));
        return value.get<std::string>();
    }

    uint32_t token(const std::string& key, const std::string& where) const {
        const auto t = token_from_text(key);
        if (!t) {
            std::string names;
            for (const TokenName& n : known_tokens()) names += std::string(names.empty() ? "" : ", ") + n.name;
            fail(where, "\"" + key + "\" is not a token; give a token number such as \"61\" or one of " + names);
        }
        return *t;
    }

    std::vector<TokenSetting> settings(const json& value, const std::string& where) const {
        std::vector<TokenSetting> out;
        for (const auto& [key, v] : object(value, where).items()) {
            const std::string at = where + "." + key;
            out.push_back({token(key, at), number(v, at, -1e9, 1e9)});
        }
        return out;
    }

    std::vector<uint32_t> keys(const json& value, const std::string& where) const {
        if (!value.is_array()) fail(where, "expected a list of failure keys such as [8], found " + kind(value));
        std::vector<uint32_t> out;
        for (size_t i = 0; i < value.size(); ++i)
            out.push_back(static_cast<uint32_t>(integer(value[i], where + "[" + std::to_string(i) + "]", 1, 1 << 30)));
        return out;
    }

    static std::string kind(const json& value) {
        switch (value.type()) {
            case json::value_t::null: return "null";
            case json::value_t::boolean: return "a true/false value";
            case json::value_t::string: return "a string";
            case json::value_t::array: return "a list";
            case json::value_t::object: return "an object";
            default: return "a number";
        }
    }

    static std::string fmt(double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v);
        return buf;
    }

private:
    std::string source_;
};

// Line and column (both from 1) of a byte offset into the text.
std::pair<size_t, size_t> line_column(std::string_view text, size_t byte) {
    byte = std::min(byte, text.size());
    size_t line = 1, column = 1;
    for (size_t i = 0; i < byte; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

}  // namespace

int Scenario::tick_count() const {
    return std::max(1, static_cast<int>(std::lround(duration * ticks_per_second)));
}

int Scenario::tick_of(double seconds) const {
    return static_cast<int>(std::lround(seconds * ticks_per_second));
}

Scenario parse_scenario(std::string_view text, const std::string& source) {
    json doc;
    try {
        doc = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        // nlohmann reports the byte just past the offending character.
        const auto [line, column] = line_column(text, e.byte > 0 ? e.byte - 1 : 0);
        std::string reason = e.what();
        const auto colon = reason.rfind(": ");
        if (colon != std::string::npos) reason = reason.substr(colon + 2);
        throw Failure(source + ":" + std::to_string(line) + ":" + std::to_string(column) +
                      ": not valid JSON: " + reason);
    } catch (const json::exception& e) {
        // A number too large for a double ends here, without a position.
        std::string reason = e.what();
        const auto bracket = reason.find("] ");
        if (bracket != std::string::npos) reason = reason.substr(bracket + 2);
        throw Failure(source + ": not valid JSON: " + reason);
    }

    const Reader r(source);
    Scenario s;
    r.object(doc, "top level");
    r.only_fields(doc, "top level",
                  {"name", "ticks_per_second", "frames_per_second", "duration", "gauges", "start", "timeline"});
    if (doc.contains("name")) s.name = r.string(doc["name"], "name");
    if (doc.contains("ticks_per_second")) s.ticks_per_second = r.number(doc["ticks_per_second"], "ticks_per_second", 1, 100);
    if (doc.contains("frames_per_second"))
        s.frames_per_second = r.number(doc["frames_per_second"], "frames_per_second", 1, 50);
    if (s.frames_per_second > s.ticks_per_second)
        r.fail("frames_per_second", "cannot exceed ticks_per_second (" + Reader::fmt(s.ticks_per_second) +
                                        "): every frame shows a tick");
    if (doc.contains("gauges")) {
        const json& g = doc["gauges"];
        if (!g.is_array()) r.fail("gauges", "expected a list of gauge names, found " + Reader::kind(g));
        for (size_t i = 0; i < g.size(); ++i) s.gauges.push_back(r.string(g[i], "gauges[" + std::to_string(i) + "]"));
    }
    if (doc.contains("start")) s.start = r.settings(doc["start"], "start");
    if (!doc.contains("timeline")) r.fail("top level", "missing field \"timeline\" (a list of entries, may be empty)");
    const json& timeline = doc["timeline"];
    if (!timeline.is_array()) r.fail("timeline", "expected a list of entries, found " + Reader::kind(timeline));

    double last = 0.0;
    for (size_t i = 0; i < timeline.size(); ++i) {
        const std::string where = "timeline[" + std::to_string(i) + "]";
        const json& e = r.object(timeline[i], where);
        r.only_fields(e, where, {"at", "set", "ramp", "click", "fail", "repair", "note"});
        ScenarioEntry entry;
        entry.where = where;
        if (!e.contains("at")) r.fail(where, "missing field \"at\" (seconds from the start)");
        entry.at = r.number(e["at"], where + ".at", 0, MAX_SECONDS);
        if (e.contains("set")) entry.set = r.settings(e["set"], where + ".set");
        if (e.contains("ramp")) {
            for (const auto& [key, v] : r.object(e["ramp"], where + ".ramp").items()) {
                const std::string at = where + ".ramp." + key;
                r.object(v, at);
                r.only_fields(v, at, {"to", "over"});
                if (!v.contains("to") || !v.contains("over"))
                    r.fail(at, "expected {\"to\": VALUE, \"over\": SECONDS}");
                entry.ramps.push_back({r.token(key, at), r.number(v["to"], at + ".to", -1e9, 1e9),
                                       r.number(v["over"], at + ".over", 0.001, MAX_SECONDS)});
            }
        }
        if (e.contains("fail")) entry.fail = r.keys(e["fail"], where + ".fail");
        if (e.contains("repair")) entry.repair = r.keys(e["repair"], where + ".repair");
        if (e.contains("click")) {
            const std::string at = where + ".click";
            const json& c = r.object(e["click"], at);
            r.only_fields(c, at, {"gauge", "x", "y", "hold"});
            if (!c.contains("gauge") || !c.contains("x") || !c.contains("y"))
                r.fail(at, "expected {\"gauge\": NAME, \"x\": X, \"y\": Y} in the gauge's own pixels");
            ScenarioClick click;
            click.gauge = r.string(c["gauge"], at + ".gauge");
            click.x = r.integer(c["x"], at + ".x", -100000, 100000);
            click.y = r.integer(c["y"], at + ".y", -100000, 100000);
            if (c.contains("hold")) click.hold = r.number(c["hold"], at + ".hold", 0, 60);
            entry.click = click;
        }
        if (e.contains("note")) entry.note = r.string(e["note"], where + ".note");
        last = std::max(last, entry.at + (entry.click ? entry.click->hold : 0.0));
        for (const ScenarioRamp& ramp : entry.ramps) last = std::max(last, entry.at + ramp.over);
        s.timeline.push_back(std::move(entry));
    }
    std::stable_sort(s.timeline.begin(), s.timeline.end(),
                     [](const ScenarioEntry& a, const ScenarioEntry& b) { return a.at < b.at; });

    s.duration = last + 1.0;
    if (doc.contains("duration")) {
        s.duration = r.number(doc["duration"], "duration", 0.05, MAX_SECONDS);
        for (const ScenarioEntry& e : s.timeline)
            if (e.at >= s.duration)
                r.fail(e.where + ".at", "at " + Reader::fmt(e.at) + " s lies after the end of the run (duration " +
                                            Reader::fmt(s.duration) + " s); lengthen \"duration\" or leave it out");
    }
    return s;
}

Scenario read_scenario_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure(path + ": cannot read the scenario file (does it exist?)");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw Failure(path + ": cannot read the scenario file");
    return parse_scenario(text, path);
}

}  // namespace zephel::cli
