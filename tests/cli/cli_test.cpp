// zephel run as a separate process, the way users and scripts run it.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "host/image.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A fresh directory per test, removed afterwards.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zephel-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome zephel(const std::vector<std::string>& args) const {
        std::string cmd = "cd " + quoted(dir_.string()) + " && " + quoted(ZEPHEL_EXE);
        for (const std::string& a : args) cmd += " " + quoted(a);
        cmd += " >" + quoted((dir_ / ".stdout").string()) + " 2>" + quoted((dir_ / ".stderr").string());
        const int raw = std::system(cmd.c_str());
        Outcome r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(dir_ / ".stdout");
        r.err = slurp(dir_ / ".stderr");
        fs::remove(dir_ / ".stdout");
        fs::remove(dir_ / ".stderr");
        return r;
    }

    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
        return names;
    }

    fs::path dir_;
};

// A resources directory with every bitmap, then one of them removed or spoilt.
fs::path copy_resources(const fs::path& to) {
    fs::create_directories(to);
    for (const auto& e : fs::directory_iterator(ZEPHEL_RESOURCES))
        if (e.path().extension() == ".bmp") fs::copy_file(e.path(), to / e.path().filename());
    return to;
}

struct BadInput {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> said;  // each must appear in the message
};

TEST_F(CliTest, BadInputEndsWithOneMessageItsExitStatusAndNoOutput) {
    spit(dir_ / "syntax.json", "{\n  \"timeline\": [\n    {\"at\": 1, \"set\": {\"61\": 5},}\n  ]\n}\n");
    spit(dir_ / "field.json", R"({"timeline": [{"at": 1, "clik": {"gauge": "Compass", "x": 1, "y": 1}}]})");
    spit(dir_ / "outside.json", R"({"timeline": [{"at": 1, "click": {"gauge": "Flap_Lever", "x": 160, "y": 20}}]})");
    spit(dir_ / "gauge.json", R"({"timeline": [{"at": 1, "click": {"gauge": "Flaps", "x": 1, "y": 1}}]})");
    spit(dir_ / "owned.json", R"({"timeline": [{"at": 1, "set": {"gear": 0}}]})");
    spit(dir_ / "huge.json", R"({"timeline": [{"at": 8e308}]})");
    spit(dir_ / "late.json", R"({"duration": 2, "timeline": [{"at": 3, "set": {"61": 1}}]})");
    const fs::path missing = copy_resources(dir_ / "missing");
    fs::remove(missing / "1703.bmp");
    const fs::path spoilt = copy_resources(dir_ / "spoilt");
    fs::resize_file(spoilt / "1700.bmp", 600);
    fs::create_directory(dir_ / "adir");

    const BadInput cases[] = {
        {"unknown gauge", {"render", "Airspeed", "-o", "out.png"}, 2,
         {"unknown gauge \"Airspeed\"", "Airspeed_Indicator", "Heading Indicator"}},
        {"unknown gauge in state", {"state", "Heading_Indicator", "--json"}, 2, {"unknown gauge", "Heading Indicator"}},
        {"--set without =", {"render", "Compass", "--set", "61", "-o", "out.png"}, 2, {"--set '61'", "TOKEN=VALUE"}},
        {"--set value", {"render", "Compass", "--set", "airspeed=fast", "-o", "out.png"}, 2, {"'fast' is not a number"}},
        {"--set token", {"panel", "--set", "speed=3", "-o", "out.png"}, 2, {"'speed' is not a token", "airspeed"}},
        {"--fail key", {"render", "Compass", "--fail", "x8", "-o", "out.png"}, 2, {"--fail 'x8'", "failure key"}},
        {"unknown option", {"panel", "--colour", "-o", "out.png"}, 2, {"--colour"}},
        {"no subcommand", {}, 2, {"subcommand"}},
        {"JSON syntax", {"play", "syntax.json", "-o", "out.gif"}, 1, {"syntax.json:3:32:", "not valid JSON"}},
        {"unknown field", {"play", "field.json", "-o", "out.gif"}, 1,
         {"timeline[0]", "unknown field \"clik\"", "click"}},
        {"click outside", {"play", "outside.json", "-o", "out.gif"}, 1,
         {"timeline[0].click", "(160, 20) lies outside any gauge", "x 0 to 149"}},
        {"scenario gauge", {"play", "gauge.json", "-o", "out.gif"}, 1, {"unknown gauge \"Flaps\"", "Flap_Lever"}},
        {"owned token", {"play", "owned.json", "-o", "out.gif"}, 1, {"token 331", "click the undercarriage lever"}},
        {"number beyond a double", {"play", "huge.json", "-o", "out.gif"}, 1, {"huge.json", "number overflow"}},
        {"entry after the end", {"play", "late.json", "-o", "out.gif"}, 1, {"timeline[0].at", "after the end"}},
        {"no scenario file", {"play", "none.json", "-o", "out.gif"}, 1, {"none.json", "cannot read"}},
        {"missing bitmap", {"--resources", missing.string(), "render", "Airspeed_Indicator", "-o", "out.png"}, 1,
         {"1703.bmp"}},
        {"malformed bitmap", {"--resources", spoilt.string(), "panel", "-o", "out.png"}, 1, {"1700.bmp"}},
        {"unwritable output", {"render", "Compass", "-o", "no/such/dir/out.png"}, 1,
         {"no/such/dir/out.png", "does not exist"}},
        {"output is a directory", {"panel", "-o", "adir"}, 1, {"adir", "is a directory"}},
    };
    const std::set<std::string> before = files();
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = zephel(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const std::string& s : c.said) EXPECT_NE(r.err.find(s), std::string::npos) << "missing '" << s << "' in\n" << r.err;
        EXPECT_EQ(files(), before);  // nothing written, no temporary left
    }
}

TEST_F(CliTest, FailedRenderLeavesTheOldFileUntouched) {
    const fs::path missing = copy_resources(dir_ / "missing");
    fs::remove(missing / "2003.bmp");
    spit(dir_ / "out.png", "old picture");
    const Outcome r = zephel({"--resources", missing.string(), "render", "Heading Indicator", "-o", "out.png"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(slurp(dir_ / "out.png"), "old picture");
    EXPECT_EQ(files(), (std::set<std::string>{"missing", "out.png"}));
}

// The heading card's table runs 360, 180, 0 clockwise, so 90 points its +x
// to the left (270 degrees) and 270 to the right.
TEST_F(CliTest, StateJsonGivesNeedleAnglesIconPicturesAndKeyEvents) {
    for (const auto& [heading, angle] : {std::pair{90.0, 270.0}, {270.0, 90.0}}) {
        const Outcome r = zephel({"state", "Heading Indicator", "--set", "heading=" + std::to_string(heading), "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["gauge"], "Heading Indicator");
        const auto& card = j["elements"][1];
        EXPECT_EQ(card["kind"], "needle");
        EXPECT_NEAR(card["angle"].get<double>(), angle, 1e-6);
        EXPECT_EQ(card["axes"][0]["token"], 84);
    }
    for (const auto& [gear, picture] : {std::pair{16382.0, 0}, {16383.0, 1}}) {
        const Outcome r = zephel({"state", "UnderCarriage_Lever", "--set", "331=" + std::to_string(gear), "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto icon = nlohmann::json::parse(r.out)["elements"][1];
        EXPECT_EQ(icon["picture"], picture);
        EXPECT_TRUE(icon["axes"][0]["callback"].get<bool>());
    }
    const Outcome r = zephel({"state", "UnderCarriage_Lever", "--click", "80,35", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto events = nlohmann::json::parse(r.out)["key_events"];
    int gear_toggles = 0;
    for (const auto& e : events) gear_toggles += e["event"] == "0x10022" && e["parameter"] == 0;
    EXPECT_EQ(gear_toggles, 1);
}

// The last frame of the GIF, decoded and put together from its changed
// rectangles, against the same frame written as PNG: the pixels that differ
// by more than palette rounding explains.
long pixels_off_in_last_frame(const fs::path& gif_path, const zephel::Image& png) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(gif_path.c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) return -1;
    std::vector<uint8_t> screen(static_cast<size_t>(gif->SWidth) * gif->SHeight, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& im = gif->SavedImages[i];
        for (int y = 0; y < im.ImageDesc.Height; ++y)
            for (int x = 0; x < im.ImageDesc.Width; ++x)
                screen[static_cast<size_t>(im.ImageDesc.Top + y) * gif->SWidth + im.ImageDesc.Left + x] =
                    im.RasterBits[y * im.ImageDesc.Width + x];
    }
    const bool sized = gif->SWidth == png.width && gif->SHeight == png.height;
    long off = 0;
    for (int y = 0; sized && y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const GifColorType c = gif->SColorMap->Colors[screen[static_cast<size_t>(y) * gif->SWidth + x]];
            const zephel::Rgba p = png.at(x, y);
            const int d = std::max({std::abs(c.Red - p.r), std::abs(c.Green - p.g), std::abs(c.Blue - p.b)});
            off += d > 24;
        }
    DGifCloseFile(gif, &error);
    return sized ? off : -1;
}

TEST_F(CliTest, PlayRunsTheAircraftLoopLogsEventsAndWritesTheAnimation) {
    spit(dir_ / "gear.json", R"({
      "ticks_per_second": 18, "frames_per_second": 6, "duration": 2,
      "gauges": ["UnderCarriage_Lever", "Airspeed_Indicator"],
      "start": {"airspeed": 150},
      "timeline": [
        {"at": 0.5, "click": {"gauge": "UnderCarriage_Lever", "x": 80, "y": 35}, "note": "gear up"},
        {"at": 1, "ramp": {"airspeed": {"to": 60, "over": 0.5}}}
      ]})");
    const Outcome r = zephel({"play", "gear.json", "-o", "gear.gif", "--frames", "frames"});
    ASSERT_EQ(r.status, 0) << r.err;
    // One gear toggle from the click at tick 9; the slat control retracts
    // above 97.19 knots and deploys once the ramp has brought the speed down.
    EXPECT_NE(r.out.find("tick     9         0x10022 gear toggle, parameter 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0x10211 slats retract"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0x10210 slats deploy"), std::string::npos) << r.out;
    EXPECT_LT(r.out.find("0x10211 slats retract"), r.out.find("0x10210 slats deploy"));
    EXPECT_NE(r.out.find("36 ticks"), std::string::npos) << r.out;

    std::set<std::string> frames;
    for (const auto& e : fs::directory_iterator(dir_ / "frames")) frames.insert(e.path().filename().string());
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(*frames.rbegin(), "frame-0011.png");
    const zephel::Image last = zephel::read_png(dir_ / "frames" / "frame-0011.png");
    EXPECT_EQ(pixels_off_in_last_frame(dir_ / "gear.gif", last), 0);
    EXPECT_EQ(files(), (std::set<std::string>{"frames", "gear.gif", "gear.json"}));
}

TEST_F(CliTest, PanelCfgPlacesEveryGaugeAtItsDefaultSize) {
    const Outcome r = zephel({"panelcfg"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("[Window00]\n", 0), 0u);
    EXPECT_NE(r.out.find("=Rt_Zephel!Airspeed_Indicator, 6,6,80,80\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("=Rt_Zephel!Heading Indicator, "), std::string::npos);
    EXPECT_NE(r.out.find("gauge08=Rt_Zephel!"), std::string::npos);
}

}  // namespace
