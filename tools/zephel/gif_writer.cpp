#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>

#include "errors.h"

namespace zephel::cli {

namespace {

constexpr uint32_t rgb_of(uint32_t argb) { return argb & 0xFFFFFFu; }

}  // namespace

struct GifAnimation::Impl {
    OutputFile& out;
    GifFileType* gif = nullptr;
    int width, height, delay_cs;
    std::vector<GifColorType> palette;
    std::vector<int16_t> lookup;    // 24-bit colour -> palette index, -1 unknown
    std::vector<uint8_t> previous;  // indices of the last frame
    std::vector<uint8_t> current;

    Impl(OutputFile& o, int w, int h, int d) : out(o), width(w), height(h), delay_cs(d) {}

    [[noreturn]] void fail(int code) const {
        throw Failure(out.path().string() + ": writing the animation failed (" + GifErrorString(code) + ")");
    }

    void learn_palette(const uint32_t* pixels, int stride) {
        std::unordered_map<uint32_t, int> seen;
        for (int y = 0; y < height && seen.size() <= 256; ++y)
            for (int x = 0; x < width && seen.size() <= 256; ++x) seen.emplace(rgb_of(pixels[y * stride + x]), 0);
        if (seen.size() <= 256) {
            std::vector<uint32_t> colours;
            for (const auto& [c, _] : seen) colours.push_back(c);
            std::sort(colours.begin(), colours.end());
            for (uint32_t c : colours)
                palette.push_back({static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                                   static_cast<GifByteType>(c)});
        } else {
            const size_t n = static_cast<size_t>(width) * height;
            std::vector<GifByteType> r(n), g(n), b(n), out_index(n);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const uint32_t c = pixels[y * stride + x];
                    const size_t i = static_cast<size_t>(y) * width + x;
                    r[i] = static_cast<GifByteType>(c >> 16);
                    g[i] = static_cast<GifByteType>(c >> 8);
                    b[i] = static_cast<GifByteType>(c);
                }
            int size = 256;
            palette.resize(256);
            if (GifQuantizeBuffer(width, height, &size, r.data(), g.data(), b.data(), out_index.data(),
                                  palette.data()) == GIF_ERROR)
                throw Failure(out.path().string() + ": cannot choose the animation's colours");
            palette.resize(static_cast<size_t>(size));
        }
        while (palette.size() < 2 || (palette.size() & (palette.size() - 1)) != 0) palette.push_back({0, 0, 0});
        lookup.assign(1u << 24, -1);
    }

    uint8_t index_of(uint32_t argb) {
        const uint32_t c = rgb_of(argb);
        int16_t& slot = lookup[c];
        if (slot < 0) {
            const int r = static_cast<int>(c >> 16), g = static_cast<int>((c >> 8) & 0xFF),
                      b = static_cast<int>(c & 0xFF);
            int best = 0, best_distance = INT_MAX;
            for (size_t i = 0; i < palette.size(); ++i) {
                const int dr = r - palette[i].Red, dg = g - palette[i].Green, db = b - palette[i].Blue;
                const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (d < best_distance) best_distance = d, best = static_cast<int>(i);
            }
            slot = static_cast<int16_t>(best);
        }
        return static_cast<uint8_t>(slot);
    }

    void open() {
        int error = 0;
        out.close_stream();
        gif = EGifOpenFileName(out.temporary().c_str(), false, &error);
        if (!gif) fail(error);
        ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), palette.data());
        const bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR;
        GifFreeMapObject(map);
        if (!ok) fail(gif->Error);
        // Loop for ever: the NETSCAPE2.0 application extension.
        static const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const GifByteType loop[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(gif, sizeof app, app) == GIF_ERROR ||
            EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif) == GIF_ERROR)
            fail(gif->Error);
    }

    void put(int left, int top, int w, int h) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = delay_cs;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_ERROR) fail(gif->Error);
        if (EGifPutImageDesc(gif, left, top, w, h, false, nullptr) == GIF_ERROR) fail(gif->Error);
        for (int y = top; y < top + h; ++y)
            if (EGifPutLine(gif, current.data() + static_cast<size_t>(y) * width + left, w) == GIF_ERROR)
                fail(gif->Error);
    }
};

GifAnimation::GifAnimation(OutputFile& out, int width, int height, int delay_cs)
    : impl_(std::make_unique<Impl>(out, width, height, std::max(2, delay_cs))) {}

GifAnimation::~GifAnimation() {
    if (impl_->gif) {
        int error = 0;
        EGifCloseFile(impl_->gif, &error);
    }
}

void GifAnimation::add_frame(const uint32_t* pixels, int stride) {
    Impl& m = *impl_;
    if (frames_ == 0) {
        m.learn_palette(pixels, stride);
        m.open();
    }
    const size_t n = static_cast<size_t>(m.width) * m.height;
    m.current.resize(n);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            m.current[static_cast<size_t>(y) * m.width + x] = m.index_of(pixels[static_cast<size_t>(y) * stride + x]);

    int left = 0, top = 0, right = m.width - 1, bottom = m.height - 1;
    if (frames_ > 0) {
        left = m.width, top = m.height, right = -1, bottom = -1;
        for (int y = 0; y < m.height; ++y) {
            const uint8_t* a = m.current.data() + static_cast<size_t>(y) * m.width;
            const uint8_t* b = m.previous.data() + static_cast<size_t>(y) * m.width;
            if (std::memcmp(a, b, m.width) == 0) continue;
            top = std::min(top, y), bottom = y;
            for (int x = 0; x < m.width; ++x)
                if (a[x] != b[x]) left = std::min(left, x), right = std::max(right, x);
        }
        if (right < 0) left = top = right = bottom = 0;  // unchanged: one pixel keeps the timing
    }
    m.put(left, top, right - left + 1, bottom - top + 1);
    m.previous.swap(m.current);
    ++frames_;
}

void GifAnimation::finish() {
    int error = 0;
    GifFileType* gif = impl_->gif;
    impl_->gif = nullptr;
    if (gif && EGifCloseFile(gif, &error) == GIF_ERROR) impl_->fail(error);
}

}  // namespace zephel::cli
