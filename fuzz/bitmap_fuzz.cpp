// Any bytes given to the bitmap decoder end in a bitmap whose pixels all
// index its palette, or in one HostError naming the source.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const zephel::Bitmap b = zephel::decode_bitmap(std::span<const uint8_t>(data, size), "fuzz.bmp");
        if (b.width <= 0 || b.height <= 0 ||
            b.pixels.size() != static_cast<size_t>(b.width) * static_cast<size_t>(b.height))
            __builtin_trap();
        uint32_t sum = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) sum += b.rgb(x, y);  // every pixel readable
        (void)sum;
    } catch (const zephel::HostError& e) {
        if (std::string_view(e.what()).find("fuzz.bmp") == std::string_view::npos) __builtin_trap();
    }
    return 0;
}
