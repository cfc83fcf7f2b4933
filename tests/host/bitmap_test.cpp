// The 8-bit BMP/DIB reader: files, bare DIBs, top-down rows, and a clear
// message naming the source for every malformed input.
#include <gtest/gtest.h>

#include <functional>

#include "host/bitmap.h"
#include "synthetic.h"

namespace {

std::vector<uint8_t> sample() {
    return synthetic::bmp(5, 3, [](int x, int y) { return static_cast<uint32_t>(x * 0x10 + y * 0x100000); });
}

void set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(Bitmap, FileAndBareDibAgree) {
    const std::vector<uint8_t> file = sample();
    const zephel::Bitmap a = zephel::decode_bitmap(file, "a");
    const std::vector<uint8_t> dib(file.begin() + 14, file.end());
    const zephel::Bitmap b = zephel::decode_bitmap(dib, "b");
    for (const zephel::Bitmap* bmp : {&a, &b}) {
        ASSERT_EQ(bmp->width, 5);
        ASSERT_EQ(bmp->height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(bmp->rgb(x, y), static_cast<uint32_t>(x * 0x10 + y * 0x100000));
    }
}

TEST(Bitmap, TopDownRows) {
    std::vector<uint8_t> file = sample();
    // Negative height, rows reversed: the same picture.
    set32(file, 22, static_cast<uint32_t>(-3));
    const size_t pixels = 14 + 40 + 1024, stride = 8;
    std::vector<uint8_t> rows(file.begin() + pixels, file.end());
    for (int r = 0; r < 3; ++r)
        std::copy(rows.begin() + (2 - r) * stride, rows.begin() + (3 - r) * stride, file.begin() + pixels + r * stride);
    const zephel::Bitmap bmp = zephel::decode_bitmap(file, "t");
    EXPECT_EQ(bmp.rgb(4, 2), 0x200040u);
    EXPECT_EQ(bmp.rgb(0, 0), 0u);
}

TEST(Bitmap, MalformedInputNamesFileAndFault) {
    using Mutation = std::function<void(std::vector<uint8_t>&)>;
    const struct {
        const char* what;
        Mutation mutate;
        const char* fault;
    } cases[] = {
        {"empty", [](auto& b) { b.clear(); }, "empty"},
        {"short file header", [](auto& b) { b.resize(10); }, "truncated"},
        {"short info header", [](auto& b) { b.resize(30); }, "truncated"},
        {"odd header size", [](auto& b) { set32(b, 14, 12); }, "information header of 12"},
        {"24 bits", [](auto& b) { b[28] = 24; }, "24 bits per pixel"},
        {"compressed", [](auto& b) { set32(b, 30, 1); }, "compression 1"},
        {"planes", [](auto& b) { b[26] = 2; }, "planes"},
        {"zero width", [](auto& b) { set32(b, 18, 0); }, "width 0"},
        {"negative width", [](auto& b) { set32(b, 18, static_cast<uint32_t>(-5)); }, "width -5"},
        {"huge width", [](auto& b) { set32(b, 18, 0x7FFFFFFF); }, "width"},
        {"zero height", [](auto& b) { set32(b, 22, 0); }, "height 0"},
        {"most negative height", [](auto& b) { set32(b, 22, 0x80000000u); }, "height"},
        {"too many colours", [](auto& b) { set32(b, 46, 257); }, "colours used is 257"},
        {"pixels past the end", [](auto& b) { b.resize(b.size() - 1); }, "pixel rows"},
        {"taller than its data", [](auto& b) { set32(b, 22, 4000); }, "pixel rows"},
        {"offset past the end", [](auto& b) { set32(b, 10, 0xFFFFFFF0u); }, "pixel rows"},
        {"offset into the palette", [](auto& b) { set32(b, 10, 20); }, "inside the headers"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = sample();
        c.mutate(bytes);
        try {
            zephel::decode_bitmap(bytes, "resources/ABCD.bmp");
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const zephel::HostError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("resources/ABCD.bmp: ", 0), 0u) << c.what << ": " << message;
            EXPECT_NE(message.find(c.fault), std::string::npos) << c.what << ": " << message;
        }
    }
}

}  // namespace
