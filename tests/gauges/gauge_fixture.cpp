#include "gauge_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "host/native_backend.h"
#ifdef ZEPHEL_EMU_GAU
#include "host/emu/emulated_backend.h"
#endif

// Add a backend here: its name in the list and how to make it.
#ifdef ZEPHEL_EMU_GAU
std::vector<std::string> gauge_test_backends() { return {"native", "emu"}; }
#else
std::vector<std::string> gauge_test_backends() { return {"native"}; }
#endif

std::unique_ptr<zephel::Backend> make_gauge_test_backend(const std::string& kind) {
    if (kind == "native") return std::make_unique<zephel::NativeBackend>();
#ifdef ZEPHEL_EMU_GAU
    if (kind == "emu") return std::make_unique<zephel::EmulatedBackend>(ZEPHEL_EMU_GAU);
#endif
    throw zephel::HostError("no test backend \"" + kind + "\"");
}

INSTANTIATE_TEST_SUITE_P(Backends, GaugeTest, ::testing::ValuesIn(gauge_test_backends()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

void expect_golden(const std::string& name, const zephel::Image& image) {
    const std::filesystem::path path = std::filesystem::path(ZEPHEL_GOLDEN_DIR) / (name + ".png");
    const char* regenerate = std::getenv("ZEPHEL_REGENERATE_GOLDEN");
    if (regenerate && *regenerate && std::string(regenerate) != "0") {
        zephel::write_png(image, path);
        std::printf("wrote %s\n", path.string().c_str());
        return;
    }
    const std::string hint =
        "; regenerate with ZEPHEL_REGENERATE_GOLDEN=1 <build>/tests/gauges/gauge_tests --gtest_filter='*/native'";
    if (!std::filesystem::exists(path)) {
        ADD_FAILURE() << "no reference picture " << path << hint;
        return;
    }
    const zephel::Image golden = zephel::read_png(path);
    ASSERT_EQ(golden.width, image.width) << path << hint;
    ASSERT_EQ(golden.height, image.height) << path << hint;
    size_t differing = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const zephel::Rgba a = image.at(x, y), b = golden.at(x, y);
            const int d = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
            if (d > 24) ++differing;
        }
    const size_t allowed = static_cast<size_t>(image.width) * image.height / 500;
    EXPECT_LE(differing, allowed) << name << ": " << differing << " pixels differ from " << path << hint;
    if (differing > allowed) {
        const std::filesystem::path actual = std::filesystem::temp_directory_path() / (name + ".actual.png");
        zephel::write_png(image, actual);
        ADD_FAILURE() << "the picture drawn now is in " << actual;
    }
}
