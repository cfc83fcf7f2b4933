// The shipped .gau under emulation: for every routine of the module, the
// instructions it executes per call and the time an emulated call takes;
// and the file's size against the bytes of its bitmaps.
//
//   build/native/bench/emulated_bench [--gau PATH] [benchmark flags]
//
// Aims: each value callback and mouse function under 40 instructions; the
// file within 16 KiB of its bitmap payload. The summary before the timings
// says for each whether it holds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "host/emu/emulated_backend.h"

using zephel::Address;

namespace {

constexpr uint64_t INSTRUCTION_AIM = 40;
constexpr uint64_t SIZE_AIM = 16 * 1024;

struct Quiet final : zephel::PanelServices {
    void element_list(int, Address, uint32_t) override {}
    void trigger_key_event(uint32_t, uint32_t) override {}
};

struct Routine {
    std::string name;
    bool aimed;  // value callbacks and mouse functions carry the 40-instruction aim
    // Makes one call; `variant` picks an input (a value, a point) so that
    // every branch is taken over the variants.
    std::function<void(zephel::EmulatedBackend&, size_t variant)> call;
    size_t variants = 1;
};

const double VALUES[] = {0.0, -0.0, 50.0, 97.19, 97.2, 16382.0, 16383.0, 42.9, 43.1, -43.1, -1.0, 361.0,
                         180.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};

std::vector<Routine> routines(zephel::EmulatedBackend& b) {
    const zephel::RecordLayout& l = b.layout();
    std::vector<Routine> out;
    const Address linkage = b.linkage_address();
    out.push_back({"library entry", false, [](auto& m, size_t v) { m.call_library_entry(static_cast<uint32_t>(v)); }, 4});
    const Address module_routine = b.read_pointer(linkage + l.linkage.module_init);
    out.push_back({"module routine", false, [=](auto& m, size_t) { m.call_routine(module_routine); }});
    const Address first = b.read_pointer(linkage + l.linkage.gauges);
    const char* standard[] = {"query", "install", "initialize", "update", "generate", "draw", "kill"};
    for (uint32_t i = 0; i < 7; ++i) {
        const Address fn = b.read_pointer(first + l.gauge.routines + 4 * i);
        const bool with_arg = i == 1 || i == 4;
        out.push_back({std::string("standard routine ") + standard[i], false, [=](auto& m, size_t) {
                           if (with_arg)
                               m.call_routine(fn, 7);
                           else
                               m.call_routine(fn);
                       }});
    }
    for (uint32_t g = 0;; ++g) {
        const Address h = b.read_pointer(linkage + l.linkage.gauges + g * l.pointer_size);
        if (h == 0) break;
        const std::string gauge = b.read_cstring(b.read_pointer(h + l.gauge.name));
        Address e = b.read_pointer(b.read_pointer(h + l.gauge.elements));
        for (int i = 0; e != 0; ++i) {
            auto add = [&](uint32_t callback, uint32_t source, const char* axis) {
                const Address fn = b.read_pointer(e + callback);
                if (!fn) return;
                const Address element = e, value = e + source + l.binding.value;
                out.push_back({gauge + " element " + std::to_string(i) + " " + axis + " callback", true,
                               [=](auto& m, size_t v) {
                                   m.write_f64(value, VALUES[v]);
                                   m.call_value_callback(fn, element);
                               },
                               std::size(VALUES)});
            };
            switch (b.read_u32(e + l.element.kind)) {
                case 4: add(l.icon.callback, l.icon.source, "icon"); break;
                case 5: add(l.moving_image.callback_x, l.moving_image.source_x, "x"); break;
                case 6: add(l.sprite.callback_y, l.sprite.source_y, "y"); break;
                default: break;
            }
            const Address children = b.read_pointer(e + l.element.children);
            e = children ? b.read_pointer(children) : 0;
        }
        Address row = b.read_pointer(h + l.gauge.mouse_table);
        for (int i = 0; row && b.read_u32(row + l.mouse_row.row_type) != 0; ++i, row += l.mouse_row.size) {
            if (const Address fn = b.read_pointer(row + l.mouse_row.function))
                out.push_back({gauge + " mouse row " + std::to_string(i), true,
                               [=](auto& m, size_t v) { m.call_mouse_function(fn, 10, 20, v ? 0x20200000u : 0x20000000u); },
                               2});
        }
    }
    return out;
}

std::string gau_path = ZEPHEL_GAU_PATH;

void summary(zephel::EmulatedBackend& backend, const std::vector<Routine>& list) {
    std::printf("Instructions per call under emulation (%s):\n", gau_path.c_str());
    std::printf("  %-44s %6s %6s  %s\n", "routine", "fewest", "most", "aim < 40");
    bool all = true;
    for (const Routine& r : list) {
        uint64_t lo = UINT64_MAX, hi = 0;
        for (size_t v = 0; v < r.variants; ++v) {
            r.call(backend, v);
            lo = std::min(lo, backend.last_instruction_count());
            hi = std::max(hi, backend.last_instruction_count());
        }
        const bool ok = hi < INSTRUCTION_AIM;
        all &= ok || !r.aimed;
        std::printf("  %-44s %6llu %6llu  %s\n", r.name.c_str(), static_cast<unsigned long long>(lo),
                    static_cast<unsigned long long>(hi), r.aimed ? (ok ? "yes" : "NO") : "-");
    }
    uint64_t payload = 0;
    for (const auto& [id, dib] : backend.module().image().bitmaps()) payload += dib.size();
    const uint64_t size = backend.module().image().file_size();
    const int64_t over = static_cast<int64_t>(size) - static_cast<int64_t>(payload);
    std::printf("File: %llu bytes; bitmap payload %llu bytes in %zu bitmaps; the rest %lld bytes (aim <= %llu): %s\n",
                static_cast<unsigned long long>(size), static_cast<unsigned long long>(payload),
                backend.module().image().bitmaps().size(), static_cast<long long>(over),
                static_cast<unsigned long long>(SIZE_AIM), over <= static_cast<int64_t>(SIZE_AIM) ? "yes" : "NO");
    std::printf("Every value callback and mouse function under %llu instructions: %s\n\n",
                static_cast<unsigned long long>(INSTRUCTION_AIM), all ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gau") == 0 && i + 1 < argc) {
            gau_path = argv[++i];
            continue;
        }
        args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());

    std::unique_ptr<zephel::EmulatedBackend> backend;
    try {
        backend = std::make_unique<zephel::EmulatedBackend>(gau_path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "emulated_bench: %s\n", e.what());
        return 1;
    }
    Quiet services;
    backend->install_services(services);
    const std::vector<Routine> list = routines(*backend);
    summary(*backend, list);

    for (const Routine& r : list) {
        benchmark::RegisterBenchmark(("emulated/" + r.name).c_str(), [&backend, r](benchmark::State& state) {
            size_t v = 0;
            uint64_t instructions = 0, calls = 0;
            for (auto _ : state) {
                r.call(*backend, v);
                instructions += backend->last_instruction_count();
                ++calls;
                v = (v + 1) % r.variants;
            }
            state.counters["instructions"] = static_cast<double>(instructions) / static_cast<double>(calls);
        });
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
