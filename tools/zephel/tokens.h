// Simulation variables the module reads, by number and by a short name, and
// the parsing of TOKEN=VALUE and failure-key arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephel::cli {

struct TokenName {
    uint32_t token;
    const char* name;
    const char* unit;
};

// The tokens the gauges read, in number order.
const std::vector<TokenName>& known_tokens();

// "61" or "airspeed" -> 61; nullopt for anything else.
std::optional<uint32_t> token_from_text(std::string_view text);
std::string token_label(uint32_t token);  // "61 (airspeed, knots)" or "123"

struct TokenSetting {
    uint32_t token;
    double value;
};

// Parses TOKEN=VALUE; throws UsageError naming `what` (e.g. "--set") on a
// malformed argument.
TokenSetting parse_setting(std::string_view text, std::string_view what);
// Parses a failure key: a positive decimal number.
uint32_t parse_failure_key(std::string_view text, std::string_view what);

// Decimal number with nothing left over; nullopt otherwise. Accepts no NaN
// or infinity spelt out: those are not values a scenario should hold.
std::optional<double> parse_number(std::string_view text);

}  // namespace zephel::cli
