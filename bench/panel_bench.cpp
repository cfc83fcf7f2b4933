// How fast the workbench draws the whole panel, against the same composition
// done with Cairo, and how fast it runs update ticks without drawing.
//
//   build/native/bench/panel_bench
//
// Both panel draws take the same draw commands from the host's geometry
// (layout_gauge): every picture placed, turned and scaled by the same
// inverse mapping, nearest or bilinear by the draw flag, through the same
// window masks. Only the raster work differs: the host's own compositor in
// one, Cairo's pattern matrices, filters and mask_surface in the other. The
// run ends with the ratio of the two.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/native_backend.h"

using namespace zephel;

namespace {

// A panel in a climbing turn, so that needles, cards and sprites are turned.
struct Panel {
    NativeBackend backend;
    Host host{backend};
    Panel() {
        const std::pair<uint32_t, double> tokens[] = {{61, 143.0}, {69, -17.0}, {78, 4.5}, {80, 23.0}, {84, 133.7},
                                                      {107, 151.0}, {329, 4000.0}, {331, 0.0}, {614, 321.0}};
        for (const auto& [t, v] : tokens) host.set_token(t, v);
        host.tick();
    }
};

Panel& panel() {
    static Panel p;
    return p;
}

void report_rate(benchmark::State& state, const char* name, double per_iteration) {
    state.counters[name] = benchmark::Counter(per_iteration * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
}

void BM_PanelDraw_Host(benchmark::State& state) {
    Host& host = panel().host;
    for (auto _ : state) {
        for (const Gauge& g : host.module().gauges) {
            Image picture = host.render(g);
            benchmark::DoNotOptimize(picture.pixels.data());
        }
    }
    report_rate(state, "frames/s", 1.0);
    state.SetLabel(std::to_string(host.module().gauges.size()) + " gauges");
}

// ---- The same composition with Cairo ------------------------------------------

struct CairoTexture {
    cairo_surface_t* keyed = nullptr;   // ARGB32, pure black transparent
    cairo_surface_t* opaque = nullptr;  // ARGB32, every pixel opaque
    cairo_surface_t* window = nullptr;  // A8, 255 where the mask shows
};

cairo_surface_t* argb_surface(const std::vector<uint32_t>& rgba, int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = rgba[static_cast<size_t>(y) * w + x];
            row[x] = (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

cairo_surface_t* a8_surface(const std::vector<uint8_t>& window, int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) data[static_cast<size_t>(y) * stride + x] = window[static_cast<size_t>(y) * w + x] ? 255 : 0;
    cairo_surface_mark_dirty(s);
    return s;
}

class CairoTextures {
public:
    const CairoTexture& of(const Texture* t) {
        auto it = cache_.find(t);
        if (it != cache_.end()) return it->second;
        CairoTexture c{argb_surface(t->keyed, t->width, t->height), argb_surface(t->opaque, t->width, t->height),
                       a8_surface(t->window, t->width, t->height)};
        return cache_.emplace(t, c).first->second;
    }
    ~CairoTextures() {
        for (auto& [_, c] : cache_) {
            cairo_surface_destroy(c.keyed);
            cairo_surface_destroy(c.opaque);
            cairo_surface_destroy(c.window);
        }
    }

private:
    std::map<const Texture*, CairoTexture> cache_;
};

void composite_with_cairo(cairo_surface_t* target, const std::vector<DrawCommand>& commands, CairoTextures& textures) {
    cairo_t* cr = cairo_create(target);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    for (const DrawCommand& c : commands) {
        const CairoTexture& t = textures.of(c.texture);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(c.transparent ? t.keyed : t.opaque);
        cairo_matrix_t m;  // picture -> bitmap, as Cairo's pattern matrix expects
        cairo_matrix_init(&m, c.to_bitmap.a, c.to_bitmap.d, c.to_bitmap.b, c.to_bitmap.e, c.to_bitmap.c, c.to_bitmap.f);
        cairo_pattern_set_matrix(pattern, &m);
        cairo_pattern_set_filter(pattern, c.bilinear ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
        cairo_set_source(cr, pattern);
        if (c.mask)
            cairo_mask_surface(cr, textures.of(c.mask).window, c.mask_x, c.mask_y);
        else
            cairo_paint(cr);
        cairo_pattern_destroy(pattern);
    }
    cairo_destroy(cr);
    cairo_surface_flush(target);
}

void BM_PanelDraw_Cairo(benchmark::State& state) {
    Host& host = panel().host;
    CairoTextures textures;
    for (auto _ : state) {
        for (const Gauge& g : host.module().gauges) {
            const auto [w, h] = host.picture_size(g);
            const std::vector<DrawCommand> commands = layout_gauge(g, host.states(g), host.bitmaps());
            cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
            composite_with_cairo(target, commands, textures);
            benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
            cairo_surface_destroy(target);
        }
    }
    report_rate(state, "frames/s", 1.0);
}

void BM_UpdateTicks(benchmark::State& state) {
    Host& host = panel().host;
    double t = 0;
    for (auto _ : state) {
        t += 1.0 / 18.0;
        host.set_token(61, 140.0 + 40.0 * std::sin(t));
        host.set_token(80, 25.0 * std::sin(t * 0.7));
        host.set_token(84, std::fmod(100.0 + 10.0 * t, 360.0));
        host.tick();
    }
    report_rate(state, "ticks/s", 1.0);
}

BENCHMARK(BM_PanelDraw_Host)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanelDraw_Cairo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateTicks)->Unit(benchmark::kMicrosecond);

// Keeps the CPU time per iteration of each benchmark for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                seconds[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

// Both ways must draw the same pictures for the ratio to mean anything: the
// mean difference per channel, over the gauge where it is largest.
void compare_pictures() {
    Host& host = panel().host;
    CairoTextures textures;
    double worst = 0.0;
    std::string where = "none";
    for (const Gauge& g : host.module().gauges) {
        const Image ours = host.render(g);
        cairo_surface_t* theirs = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ours.width, ours.height);
        composite_with_cairo(theirs, layout_gauge(g, host.states(g), host.bitmaps()), textures);
        const unsigned char* data = cairo_image_surface_get_data(theirs);
        const int stride = cairo_image_surface_get_stride(theirs);
        double sum = 0.0;
        for (int y = 0; y < ours.height; ++y)
            for (int x = 0; x < ours.width; ++x) {
                const uint32_t c = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x];
                const Rgba o = ours.at(x, y);
                sum += std::abs(int(c >> 16 & 0xFF) - o.r) + std::abs(int(c >> 8 & 0xFF) - o.g) +
                       std::abs(int(c & 0xFF) - o.b) + std::abs(int(c >> 24) - o.a);
            }
        cairo_surface_destroy(theirs);
        const double mean = ours.width ? sum / (4.0 * ours.width * ours.height) : 0.0;
        if (mean >= worst) worst = mean, where = g.name;
    }
    std::printf("host and Cairo pictures differ by %.2f per channel on average at most (%s)\n\n", worst,
                where.c_str());
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    compare_pictures();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto host = reporter.seconds.find("BM_PanelDraw_Host");
    const auto cairo = reporter.seconds.find("BM_PanelDraw_Cairo");
    if (host != reporter.seconds.end() && cairo != reporter.seconds.end()) {
        std::printf("\nwhole panel: host %.1f frames/s, Cairo %.1f frames/s: the host draws it %.2f times %s\n",
                    1.0 / host->second, 1.0 / cairo->second,
                    host->second < cairo->second ? cairo->second / host->second : host->second / cairo->second,
                    host->second < cairo->second ? "as fast as Cairo" : "slower than Cairo");
    }
    benchmark::Shutdown();
    return 0;
}
