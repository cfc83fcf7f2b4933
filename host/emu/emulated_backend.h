// The backend that runs the shipped .gau itself: the 32-bit module in an x86
// emulator, reached at the simulator's record layout. Bitmaps come from the
// module's own resources. The records are checked at load (record_check.h)
// and every call is guarded (emulated_module.h); a broken rule throws an
// EmulationFault, which is a HostError.
#pragma once

#include <string>

#include "host/backend.h"
#include "host/emu/emulated_module.h"

namespace zephel {

class EmulatedBackend final : public Backend {
public:
    struct Options {
        emu::EmulatedModule::Options machine;
        // Refuse a module whose records break the simulator's layout.
        bool check_records = true;
    };
    // Loads the module (library entry called for process attach); throws a
    // HostError naming the file and the fault.
    explicit EmulatedBackend(const std::string& gau_path);
    EmulatedBackend(const std::string& gau_path, Options options);

    const RecordLayout& layout() const override { return layout_; }
    Address linkage_address() const override { return linkage_; }
    Address import_table_address() const override { return import_table_; }

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

    void install_services(PanelServices& services) override;
    void uninstall_services(PanelServices& services) override;

    std::optional<std::vector<uint8_t>> bitmap(uint32_t id) const override;
    std::string bitmap_name(uint32_t id) const override;

    const std::string& path() const { return path_; }
    emu::EmulatedModule& module() { return module_; }
    // Instructions the module ran in the last call made through this backend.
    uint64_t last_instruction_count() const { return module_.last_instruction_count(); }

private:
    std::string path_;
    RecordLayout layout_;
    emu::EmulatedModule module_;
    Address linkage_ = 0;
    Address import_table_ = 0;
    PanelServices* services_ = nullptr;

    uint32_t address32(Address address, const char* what) const;
    std::string routine_label(const char* role, Address function) const;
};

}  // namespace zephel
