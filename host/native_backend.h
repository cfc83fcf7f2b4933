// The module linked natively into this process: addresses are real
// pointers, calls are plain calls, bitmaps come from a resources directory
// (resources/XXXX.bmp, four upper-case hex digits of the ID).
#pragma once

#include <filesystem>

#include "host/backend.h"

namespace zephel {

class NativeBackend : public Backend {
public:
    // The source tree's resources/ directory.
    static std::filesystem::path default_resources_dir();

    explicit NativeBackend(std::filesystem::path resources_dir = default_resources_dir());
    ~NativeBackend() override;

    const RecordLayout& layout() const override { return layout_; }
    Address linkage_address() const override;
    Address import_table_address() const override;

    uint32_t read_u32(Address address) const override;
    float read_f32(Address address) const override;
    double read_f64(Address address) const override;
    Address read_pointer(Address address) const override;
    std::string read_cstring(Address address, size_t max_length = 256) const override;
    void write_f64(Address address, double value) override;

    double call_value_callback(Address function, Address element) override;
    int32_t call_mouse_function(Address function, int32_t x, int32_t y, uint32_t flags) override;
    void call_routine(Address function) override;
    void call_routine(Address function, uint32_t argument) override;
    int32_t call_library_entry(uint32_t reason) override;

    // The module is one static instance per process: the most recently
    // installed services receive its calls.
    void install_services(PanelServices& services) override;
    void uninstall_services(PanelServices& services) override;

    std::optional<std::vector<uint8_t>> bitmap(uint32_t id) const override;
    std::string bitmap_name(uint32_t id) const override;

    const std::filesystem::path& resources_dir() const { return resources_dir_; }

private:
    RecordLayout layout_;
    std::filesystem::path resources_dir_;
};

}  // namespace zephel
