// Any bytes given to the scenario reader end in a scenario or in one
// Failure message; nothing else may escape, crash or leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/zephel/errors.h"
#include "tools/zephel/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const zephel::cli::Scenario s = zephel::cli::parse_scenario(text, "fuzz.json");
        // What the player relies on: a bounded run and entries in time order.
        if (s.tick_count() < 1 || s.tick_count() > 100 * 600 + 1) __builtin_trap();
        for (size_t i = 1; i < s.timeline.size(); ++i)
            if (s.timeline[i].at < s.timeline[i - 1].at) __builtin_trap();
    } catch (const zephel::cli::Failure& e) {
        if (std::string_view(e.what()).substr(0, 10) != "fuzz.json:") __builtin_trap();
    }
    return 0;
}
