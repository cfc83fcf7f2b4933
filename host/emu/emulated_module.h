// The shipped 32-bit module run in an x86 emulator (Unicorn), the way the
// simulator's process would run it: the image mapped with its base
// relocations applied, the library entry called for process attach, a
// panel-services table of stubs written into ImportTable, and every routine
// called with the Windows __stdcall convention under the x87 control word the
// simulator's process uses.
//
// Every call is guarded. It fails with an EmulationFault whose message names
// the routine and the broken rule when the callee does not remove exactly its
// arguments, disturbs a register the convention preserves, leaves the x87
// stack unbalanced, writes into the module's own image (the records are the
// simulator's to write), runs code outside the module's code and the service
// stubs, calls a panel service the module has no business calling, or runs
// past an instruction bound.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/emu/pe_image.h"

struct uc_struct;

namespace emu {

// A guard fired or the emulator stopped on a fault; the message says which
// routine broke which rule, and where.
struct EmulationFault : zephel::HostError {
    using zephel::HostError::HostError;
};

// Where the machine keeps what is not the module.
constexpr uint32_t STACK_BASE = 0x00100000;
constexpr uint32_t STACK_SIZE = 0x00010000;
constexpr uint32_t SERVICES_TABLE = 0x7FFE0000;  // the panel services table the module reads
constexpr uint32_t SERVICES_ENTRIES = 64;        // stubs for every entry, not only the known ones
constexpr uint32_t SERVICE_STUBS = SERVICES_TABLE + 0x400;
constexpr uint32_t SERVICE_STUB_SIZE = 16;
constexpr uint32_t RETURN_TRAP = 0x7FFF0000;  // the return address of every call from the host
// The simulator's process runs the x87 unit at 53-bit precision: the Windows
// default control word (all exceptions masked, round to nearest).
constexpr uint16_t X87_CONTROL_WORD = 0x027F;

// A call the module made into the panel services table.
struct ServiceCall {
    int index;        // entry index (byte offset / 4)
    uint32_t first;   // first argument: element address or key event
    uint32_t second;  // second argument where the service has one, else 0
    bool operator==(const ServiceCall&) const = default;
};

// What a call from the host expects of its callee.
enum class CallKind {
    LibraryEntry,   // three 32-bit arguments, integer result
    ModuleRoutine,  // no arguments, no result
    Routine,        // a standard gauge routine without arguments
    RoutineWithArg, // install or generate: one 32-bit argument
    ValueCallback,  // one element pointer, 64-bit float result in ST(0)
    MouseFunction,  // point pointer and flags, 32-bit result in EAX
};

struct CallResult {
    uint32_t eax = 0;
    double st0 = 0.0;            // value callbacks only
    uint64_t instructions = 0;   // executed inside the module's image
};

class EmulatedModule {
public:
    struct Options {
        uint32_t base = 0;                      // 0: the image's preferred base
        uint64_t instruction_limit = 100000;    // per call from the host
    };

    // Maps the module and calls its library entry for process attach. The
    // panel services pointer in ImportTable stays null until
    // install_services_table().
    explicit EmulatedModule(PeImage image);
    EmulatedModule(PeImage image, Options options);
    ~EmulatedModule();
    EmulatedModule(const EmulatedModule&) = delete;
    EmulatedModule& operator=(const EmulatedModule&) = delete;

    const PeImage& image() const { return image_; }
    uint32_t base() const { return base_; }
    bool in_image(uint32_t address) const { return address - base_ < image_.size_of_image(); }
    // Absolute address of an export; throws EmulationFault if it is missing.
    uint32_t export_address(const std::string& name) const;
    uint32_t export_address(uint32_t ordinal) const;

    // Every service call the module makes goes here, in order, while the
    // call that reached it runs. May throw; the call then fails with it.
    std::function<void(const ServiceCall&)> on_service;

    // Host access to emulated memory: not guarded (the simulator writes its
    // own fields into the records).
    void read(uint32_t address, void* out, size_t size) const;
    void write(uint32_t address, const void* data, size_t size);
    uint32_t read_u32(uint32_t address) const;
    int32_t read_i32(uint32_t address) const;
    double read_f64(uint32_t address) const;
    float read_f32(uint32_t address) const;
    std::string read_cstr(uint32_t address) const;
    void write_u32(uint32_t address, uint32_t value);
    void write_f64(uint32_t address, double value);

    // Calls `routine` with `args` pushed right to left; `what` names it in
    // fault messages.
    CallResult call(uint32_t routine, CallKind kind, std::span<const uint32_t> args, const std::string& what);

    // The typed calls the simulator makes.
    uint32_t call_library_entry(uint32_t reason);
    double call_value_callback(uint32_t routine, uint32_t element, const std::string& what);
    int32_t call_mouse_function(uint32_t routine, int32_t x, int32_t y, uint32_t flags, const std::string& what);
    void call_routine(uint32_t routine, const std::string& what);
    void call_routine(uint32_t routine, uint32_t argument, const std::string& what);

    // Writes the stub table's address into ImportTable (or null back).
    void install_services_table();
    void remove_services_table();

    uint64_t last_instruction_count() const { return last_instructions_; }
    // "0x10001234 (.text+0x234)" for an address in the image, else the address.
    std::string describe(uint32_t address) const;

private:
    struct Hooks;
    PeImage image_;
    Options options_;
    uint32_t base_ = 0;
    uc_struct* uc_ = nullptr;
    std::unique_ptr<Hooks> hooks_;
    uint64_t last_instructions_ = 0;

    void map_image();
    void map_services();
    void fault(const std::string& message) const;
    friend struct HookAccess;
};

}  // namespace emu
