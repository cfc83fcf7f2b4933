#include "tokens.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "errors.h"

namespace zephel::cli {

const std::vector<TokenName>& known_tokens() {
    static const std::vector<TokenName> tokens = {
        {61, "airspeed", "knots"},
        {69, "slip", "ball position, -127 to 127"},
        {78, "pitch", "degrees, nose up positive"},
        {80, "bank", "degrees, right wing down positive"},
        {84, "heading", "degrees"},
        {107, "course", "degrees, set course"},
        {329, "flaps", "0 up to 16383 down"},
        {331, "gear", "0 up to 16383 down"},
        {614, "height", "metres above ground"},
    };
    return tokens;
}

std::optional<double> parse_number(std::string_view text) {
    if (text.empty() || text.size() > 64) return std::nullopt;
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    // strtod also reads hexadecimal floats and leading blanks; a plain
    // decimal number is what the help promises.
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    return v;
}

std::optional<uint32_t> token_from_text(std::string_view text) {
    for (const TokenName& t : known_tokens())
        if (text == t.name) return t.token;
    uint32_t n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty() || n == 0) return std::nullopt;
    return n;
}

std::string token_label(uint32_t token) {
    for (const TokenName& t : known_tokens())
        if (t.token == token) return std::to_string(token) + " (" + t.name + ", " + t.unit + ")";
    return std::to_string(token);
}

namespace {

std::string token_names_hint() {
    std::string s;
    for (const TokenName& t : known_tokens()) {
        if (!s.empty()) s += ", ";
        s += t.name;
    }
    return s;
}

}  // namespace

TokenSetting parse_setting(std::string_view text, std::string_view what) {
    const std::string shown(text);
    const auto eq = text.find('=');
    if (eq == std::string_view::npos)
        throw UsageError(std::string(what) + " '" + shown +
                         "': expected TOKEN=VALUE, e.g. 61=120 or airspeed=120");
    const auto token = token_from_text(text.substr(0, eq));
    if (!token)
        throw UsageError(std::string(what) + " '" + shown + "': '" + std::string(text.substr(0, eq)) +
                         "' is not a token; give a token number (e.g. 61) or one of " + token_names_hint());
    const auto value = parse_number(text.substr(eq + 1));
    if (!value)
        throw UsageError(std::string(what) + " '" + shown + "': '" + std::string(text.substr(eq + 1)) +
                         "' is not a number; expected a decimal value such as 120 or -3.5");
    return {*token, *value};
}

uint32_t parse_failure_key(std::string_view text, std::string_view what) {
    uint32_t n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || n == 0)
        throw UsageError(std::string(what) + " '" + std::string(text) +
                         "': expected a failure key, a positive whole number such as 8");
    return n;
}

}  // namespace zephel::cli
