// `zephel --module PATH`: every subcommand run on the emulated .gau gives
// byte for byte what it gives on the module linked into zephel.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;  // stdout and stderr
};

Outcome zephel(const std::string& args) {
    const std::string command = std::string("'") + ZEPHEL_EXE + "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "cannot run " + command};
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ModuleOption : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("zephel-emu-cli-" + std::to_string(getpid()));
    const std::string module = std::string("--module '") + ZEPHEL_GAU_PATH + "' ";
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char* name) { return "'" + (dir / name).string() + "'"; }
};

TEST_F(ModuleOption, TextSubcommandsMatchTheLinkedModule) {
    const char* commands[] = {"inspect", "panelcfg", "state AutoSlat_Control", "state Artificial_Horizon",
                              "state UnderCarriage_Lever", "state Flap_Lever", "state GearFlap_Placard",
                              "state Airspeed_Indicator", "state Radio_Altimeter", "state Compass",
                              "state 'Heading Indicator'"};
    for (const char* c : commands) {
        const Outcome native = zephel(c), emulated = zephel(module + c);
        EXPECT_EQ(native.status, 0) << c << ": " << native.out;
        EXPECT_EQ(emulated.status, 0) << c << ": " << emulated.out;
        EXPECT_EQ(native.out, emulated.out) << c;
    }
}

TEST_F(ModuleOption, PicturesAndAnimationsMatchTheLinkedModule) {
    std::ofstream(dir / "s.json") << R"({"name": "thresholds", "ticks_per_second": 18, "frames_per_second": 6,
      "duration": 3, "start": {"airspeed": 90, "gear": 0, "pitch": 40, "heading": 350, "course": 359},
      "timeline": [
        {"at": 0.2, "ramp": {"airspeed": {"to": 105, "over": 2}, "pitch": {"to": 50, "over": 2},
                             "heading": {"to": 370, "over": 2}}},
        {"at": 0.5, "click": {"gauge": "UnderCarriage_Lever", "x": 80, "y": 35}},
        {"at": 1.0, "click": {"gauge": "Flap_Lever", "x": 60, "y": 125}},
        {"at": 1.5, "click": {"gauge": "Compass", "x": 62, "y": 285, "hold": 0.5}}]})";
    const std::pair<std::string, const char*> runs[] = {
        {"render Compass -o ", "compass.png"}, {"panel -o ", "panel.png"}, {"play " + at("s.json") + " -o ", "s.gif"}};
    for (const auto& [command, file] : runs) {
        const std::string native_file = std::string("native-") + file, emulated_file = std::string("emu-") + file;
        const Outcome native = zephel(command + at(native_file.c_str()));
        const Outcome emulated = zephel(module + command + at(emulated_file.c_str()));
        ASSERT_EQ(native.status, 0) << native.out;
        ASSERT_EQ(emulated.status, 0) << emulated.out;
        const std::string a = slurp(dir / native_file), b = slurp(dir / emulated_file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == b) << file << " differs between the linked module and the emulated .gau";
    }
}

TEST_F(ModuleOption, BadModulesAreRefusedWithTheReason) {
    const Outcome missing = zephel("--module /nonexistent/Rt_Zephel.gau inspect");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("--module /nonexistent/Rt_Zephel.gau: no such file"), std::string::npos) << missing.out;

    const Outcome wrong = zephel(std::string("--module '") + WRONG_MODULE_PATH + "' inspect");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.out.find("the records do not have the simulator's layout"), std::string::npos) << wrong.out;
    EXPECT_NE(wrong.out.find("\"Packed_Eight\""), std::string::npos) << wrong.out;

    std::ofstream(dir / "not.gau") << "not a module";
    const Outcome junk = zephel("--module " + at("not.gau") + " inspect");
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.out.find("not.gau: not a Windows executable"), std::string::npos) << junk.out;
}

}  // namespace
