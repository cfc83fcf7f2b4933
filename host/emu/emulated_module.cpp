#include "host/emu/emulated_module.h"

#include <unicorn/unicorn.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <sstream>

#include "host/emu/x87.h"

namespace emu {

namespace {

constexpr uint32_t PAGE = 0x1000;

std::string hex(uint64_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

uint32_t page_up(uint32_t v) { return (v + PAGE - 1) & ~(PAGE - 1); }

// Arguments of the panel services the module may call; 0 = not one of them.
int service_arguments(int index) {
    switch (index) {
        case 24: case 26: case 27: case 29: case 31: return 1;  // element
        case 25: case 28: case 36: return 2;  // element and handle or phase; key event and parameter
        default: return 0;
    }
}

const char* service_name(int index) {
    switch (index) {
        case 24: return "element_list_query";
        case 25: return "element_list_install";
        case 26: return "element_list_initialize";
        case 27: return "element_list_update";
        case 28: return "element_list_generate";
        case 29: return "element_list_plot";
        case 31: return "element_list_kill";
        case 36: return "trigger_key_event";
        default: return "an unused entry";
    }
}

struct Expectation {
    uint32_t argument_bytes;
    int x87_results;  // values the callee leaves on the x87 stack
};

Expectation expectation(CallKind kind) {
    switch (kind) {
        case CallKind::LibraryEntry: return {12, 0};
        case CallKind::ModuleRoutine:
        case CallKind::Routine: return {0, 0};
        case CallKind::RoutineWithArg: return {4, 0};
        case CallKind::ValueCallback: return {4, 1};
        case CallKind::MouseFunction: return {8, 0};
    }
    return {0, 0};
}

// Registers a __stdcall routine must give back as it found them, with the
// marks the host leaves in them before each call.
struct Preserved {
    int reg;
    const char* name;
    uint32_t mark;
};
constexpr Preserved PRESERVED[] = {
    {UC_X86_REG_EBX, "EBX", 0xB0B0B0B0u},
    {UC_X86_REG_ESI, "ESI", 0x5151E51Eu},
    {UC_X86_REG_EDI, "EDI", 0xD1D1D1D1u},
    {UC_X86_REG_EBP, "EBP", 0xEB0EB0EBu},
};

}  // namespace

// State of the call in progress, shared with the emulator's hooks.
struct EmulatedModule::Hooks {
    EmulatedModule* self = nullptr;
    std::string violation;         // the first broken rule, if any
    std::exception_ptr pending;    // thrown by on_service
    uint64_t steps = 0;            // every instruction
    uint64_t module_steps = 0;     // instructions inside the image
    uc_hook code = 0, write = 0, invalid = 0;

    void stop(uc_engine* uc, std::string message) {
        if (violation.empty()) violation = std::move(message);
        uc_emu_stop(uc);
    }
    uint32_t eip(uc_engine* uc) const {
        uint32_t v = 0;
        uc_reg_read(uc, UC_X86_REG_EIP, &v);
        return v;
    }
};

struct HookAccess {
    static void on_code(uc_engine* uc, uint64_t address, uint32_t, void* user) {
        auto* h = static_cast<EmulatedModule::Hooks*>(user);
        EmulatedModule& m = *h->self;
        const auto at = static_cast<uint32_t>(address);
        if (++h->steps > m.options_.instruction_limit) {
            h->stop(uc, "did not return within " + std::to_string(m.options_.instruction_limit) +
                            " instructions (now at " + m.describe(at) + ")");
            return;
        }
        if (m.in_image(at)) {
            const PeSection* s = m.image_.section_at(at - m.base_);
            if (!s || !s->executable()) {
                h->stop(uc, "executed " + m.describe(at) + ", which is not code of the module");
                return;
            }
            ++h->module_steps;
            return;
        }
        if (at >= SERVICE_STUBS && at < SERVICE_STUBS + SERVICES_ENTRIES * SERVICE_STUB_SIZE) {
            const uint32_t offset = at - SERVICE_STUBS;
            if (offset % SERVICE_STUB_SIZE) return;  // inside a stub
            const int index = static_cast<int>(offset / SERVICE_STUB_SIZE);
            const int argc = service_arguments(index);
            if (argc == 0) {
                h->stop(uc, "called panel services entry " + std::to_string(index) + " (byte offset " +
                                hex(index * 4) + "), which the module never calls");
                return;
            }
            uint32_t esp = 0;
            uc_reg_read(uc, UC_X86_REG_ESP, &esp);
            uint32_t args[2] = {0, 0};
            if (uc_mem_read(uc, esp + 4, args, 4 * argc) != UC_ERR_OK) {
                h->stop(uc, std::string("called ") + service_name(index) + " with its arguments off the stack");
                return;
            }
            if (m.on_service) {
                try {
                    m.on_service(ServiceCall{index, args[0], args[1]});
                } catch (...) {
                    h->pending = std::current_exception();
                    uc_emu_stop(uc);
                }
            }
            return;
        }
        if (at == RETURN_TRAP) return;
        h->stop(uc, "ran code at " + hex(at) + ", outside the module's image and the panel service stubs");
    }

    static void on_image_write(uc_engine* uc, uc_mem_type, uint64_t address, int size, int64_t, void* user) {
        auto* h = static_cast<EmulatedModule::Hooks*>(user);
        const EmulatedModule& m = *h->self;
        h->stop(uc, "code at " + m.describe(h->eip(uc)) + " wrote " + std::to_string(size) + " bytes at " +
                        m.describe(static_cast<uint32_t>(address)) +
                        ", inside the module's own image; its records are written only by the simulator");
    }

    static bool on_invalid(uc_engine* uc, uc_mem_type type, uint64_t address, int size, int64_t, void* user) {
        auto* h = static_cast<EmulatedModule::Hooks*>(user);
        const EmulatedModule& m = *h->self;
        const auto at = static_cast<uint32_t>(address);
        if (type == UC_MEM_FETCH_UNMAPPED || type == UC_MEM_FETCH_PROT) {
            h->stop(uc, m.in_image(at) ? "executed " + m.describe(at) + ", which is not code of the module"
                                       : "ran code at " + m.describe(at) +
                                             ", outside the module's image and the panel service stubs");
            return false;
        }
        const bool reading = type == UC_MEM_READ_UNMAPPED || type == UC_MEM_READ_PROT;
        const bool unmapped = type == UC_MEM_READ_UNMAPPED || type == UC_MEM_WRITE_UNMAPPED;
        std::string where = m.describe(at);
        if (unmapped)
            where += ", which is not mapped";
        else if (!reading && m.in_image(at))
            where += ", inside the module's own image; its records are written only by the simulator";
        else
            where += ", which it may not " + std::string(reading ? "read" : "write");
        h->stop(uc, "code at " + m.describe(h->eip(uc)) + (reading ? " read " : " wrote ") + std::to_string(size) +
                        " bytes at " + where);
        return false;
    }
};

EmulatedModule::EmulatedModule(PeImage image) : EmulatedModule(std::move(image), Options{}) {}

EmulatedModule::EmulatedModule(PeImage image, Options options)
    : image_(std::move(image)), options_(options), hooks_(std::make_unique<Hooks>()) {
    hooks_->self = this;
    base_ = options_.base ? options_.base : image_.image_base();
    if (base_ % PAGE) throw EmulationFault("module base " + hex(base_) + " is not page aligned");
    const uint64_t end = uint64_t{base_} + page_up(image_.size_of_image());
    auto overlaps = [&](uint64_t lo, uint64_t hi) { return base_ < hi && lo < end; };
    if (end > 0x100000000ull || overlaps(STACK_BASE, STACK_BASE + STACK_SIZE) ||
        overlaps(SERVICES_TABLE, SERVICES_TABLE + PAGE) || overlaps(RETURN_TRAP, RETURN_TRAP + PAGE))
        throw EmulationFault("module image at " + hex(base_) + " collides with the host's own memory");

    if (uc_err err = uc_open(UC_ARCH_X86, UC_MODE_32, &uc_); err != UC_ERR_OK)
        throw EmulationFault(std::string("cannot start the x86 emulator: ") + uc_strerror(err));
    map_image();
    map_services();
    uc_mem_map(uc_, STACK_BASE, STACK_SIZE, UC_PROT_READ | UC_PROT_WRITE);
    const uint8_t halt = 0xF4;
    uc_mem_map(uc_, RETURN_TRAP, PAGE, UC_PROT_READ | UC_PROT_EXEC);
    uc_mem_write(uc_, RETURN_TRAP, &halt, 1);

    uc_hook_add(uc_, &hooks_->code, UC_HOOK_CODE, reinterpret_cast<void*>(&HookAccess::on_code), hooks_.get(), 1, 0);
    uc_hook_add(uc_, &hooks_->write, UC_HOOK_MEM_WRITE, reinterpret_cast<void*>(&HookAccess::on_image_write),
                hooks_.get(), base_, base_ + image_.size_of_image() - 1);
    uc_hook_add(uc_, &hooks_->invalid, UC_HOOK_MEM_INVALID, reinterpret_cast<void*>(&HookAccess::on_invalid),
                hooks_.get(), 1, 0);

    // Windows loads the library.
    if (image_.entry_rva() != 0) {
        uint32_t attached = 0;
        try {
            attached = call_library_entry(1);
        } catch (const EmulationFault& e) {
            fault(image_.label() + ": " + e.what());
        }
        if (attached == 0) fault(image_.label() + ": the library entry refused process attach (it returned 0)");
    }
    const uint32_t import_table = export_address("ImportTable");
    if (read_u32(import_table) != 0x0000000Fu)
        fault(image_.label() + ": ImportTable does not start with the panel services identifier 0x0000000F");
}

void EmulatedModule::install_services_table() { write_u32(export_address("ImportTable") + 4, SERVICES_TABLE); }
void EmulatedModule::remove_services_table() { write_u32(export_address("ImportTable") + 4, 0); }

EmulatedModule::~EmulatedModule() {
    if (uc_) uc_close(uc_);
}

void EmulatedModule::fault(const std::string& message) const { throw EmulationFault(message); }

void EmulatedModule::map_image() {
    const std::vector<uint8_t> memory = image_.map_at(base_);
    const uint32_t size = page_up(image_.size_of_image());
    bool page_aligned = true;
    for (const PeSection& s : image_.sections()) page_aligned &= (s.rva % PAGE) == 0;
    if (!page_aligned) {
        // Sections share pages: one mapping for the whole image.
        uc_mem_map(uc_, base_, size, UC_PROT_ALL);
    } else {
        uc_mem_map(uc_, base_, size, UC_PROT_READ);  // headers and gaps
        for (const PeSection& s : image_.sections()) {
            uint32_t perms = UC_PROT_READ;
            if (s.executable()) perms |= UC_PROT_EXEC;
            if (s.writable()) perms |= UC_PROT_WRITE;
            const uint32_t len = std::min(page_up(s.virtual_size), size - s.rva);
            uc_mem_protect(uc_, base_ + s.rva, len, perms);
        }
    }
    uc_mem_write(uc_, base_, memory.data(), memory.size());
}

void EmulatedModule::map_services() {
    uc_mem_map(uc_, SERVICES_TABLE, PAGE, UC_PROT_READ | UC_PROT_EXEC);
    uint32_t table[SERVICES_ENTRIES];
    for (uint32_t i = 0; i < SERVICES_ENTRIES; ++i) {
        table[i] = SERVICE_STUBS + i * SERVICE_STUB_SIZE;
        // ret N: each stub removes its own arguments, as the simulator's services do.
        const uint16_t n = static_cast<uint16_t>(4 * service_arguments(static_cast<int>(i)));
        const uint8_t stub[3] = {0xC2, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)};
        uc_mem_write(uc_, table[i], stub, sizeof stub);
    }
    uc_mem_write(uc_, SERVICES_TABLE, table, sizeof table);
}

uint32_t EmulatedModule::export_address(const std::string& name) const {
    auto rva = image_.export_rva(name);
    if (!rva) fault(image_.label() + ": the module does not export " + name);
    return base_ + *rva;
}

uint32_t EmulatedModule::export_address(uint32_t ordinal) const {
    auto rva = image_.export_rva(ordinal);
    if (!rva) fault(image_.label() + ": the module exports nothing at ordinal " + std::to_string(ordinal));
    return base_ + *rva;
}

std::string EmulatedModule::describe(uint32_t address) const {
    std::string out = hex(address);
    if (in_image(address)) {
        const uint32_t rva = address - base_;
        if (const PeSection* s = image_.section_at(rva))
            out += " (" + s->name + "+" + hex(rva - s->rva) + ")";
        else
            out += " (module headers)";
    }
    return out;
}

void EmulatedModule::read(uint32_t address, void* out, size_t size) const {
    if (uc_mem_read(uc_, address, out, size) != UC_ERR_OK)
        fault("the host read " + std::to_string(size) + " bytes at " + hex(address) + ", which is not mapped");
}

void EmulatedModule::write(uint32_t address, const void* data, size_t size) {
    if (uc_mem_write(uc_, address, data, size) != UC_ERR_OK)
        fault("the host wrote " + std::to_string(size) + " bytes at " + hex(address) + ", which is not mapped");
}

uint32_t EmulatedModule::read_u32(uint32_t address) const {
    uint32_t v;
    read(address, &v, 4);
    return v;
}
int32_t EmulatedModule::read_i32(uint32_t address) const { return static_cast<int32_t>(read_u32(address)); }
double EmulatedModule::read_f64(uint32_t address) const {
    double v;
    read(address, &v, 8);
    return v;
}
float EmulatedModule::read_f32(uint32_t address) const {
    float v;
    read(address, &v, 4);
    return v;
}
std::string EmulatedModule::read_cstr(uint32_t address) const {
    std::string out;
    for (char c; (read(address + static_cast<uint32_t>(out.size()), &c, 1), c != 0);) {
        out.push_back(c);
        if (out.size() > 4096) fault("no end to the string at " + hex(address));
    }
    return out;
}
void EmulatedModule::write_u32(uint32_t address, uint32_t value) { write(address, &value, 4); }
void EmulatedModule::write_f64(uint32_t address, double value) { write(address, &value, 8); }

CallResult EmulatedModule::call(uint32_t routine, CallKind kind, std::span<const uint32_t> args,
                                const std::string& what) {
    const Expectation expect = expectation(kind);
    if (args.size() * 4 != expect.argument_bytes)
        fault(what + ": the host passed " + std::to_string(args.size()) + " arguments to a routine taking " +
              std::to_string(expect.argument_bytes / 4));
    if (!in_image(routine)) fault(what + ": routine address " + hex(routine) + " lies outside the module");

    // Arguments right to left, then the return address.
    const uint32_t top = STACK_BASE + STACK_SIZE - 0x100;
    std::vector<uint32_t> frame;
    frame.push_back(RETURN_TRAP);
    frame.insert(frame.end(), args.begin(), args.end());
    const uint32_t esp = top - static_cast<uint32_t>(4 * frame.size());
    write(esp, frame.data(), 4 * frame.size());
    uc_reg_write(uc_, UC_X86_REG_ESP, &esp);
    for (const Preserved& p : PRESERVED) uc_reg_write(uc_, p.reg, &p.mark);
    const uint32_t zero = 0;
    uc_reg_write(uc_, UC_X86_REG_EAX, &zero);
    // The x87 unit as the simulator's process keeps it: empty stack, 53-bit
    // precision, round to nearest, exceptions masked.
    const uint16_t control = X87_CONTROL_WORD, status = 0, tags_empty = 0xFFFF;
    uc_reg_write(uc_, UC_X86_REG_FPCW, &control);
    uc_reg_write(uc_, UC_X86_REG_FPSW, &status);
    uc_reg_write(uc_, UC_X86_REG_FPTAG, &tags_empty);

    Hooks& h = *hooks_;
    h.violation.clear();
    h.pending = nullptr;
    h.steps = h.module_steps = 0;
    const uc_err err = uc_emu_start(uc_, routine, RETURN_TRAP, 0, 0);
    last_instructions_ = h.module_steps;
    if (h.pending) std::rethrow_exception(h.pending);
    if (!h.violation.empty()) fault(what + ": " + h.violation);
    uint32_t eip = 0;
    uc_reg_read(uc_, UC_X86_REG_EIP, &eip);
    if (err != UC_ERR_OK) fault(what + ": the emulator stopped at " + describe(eip) + ": " + uc_strerror(err));
    if (eip != RETURN_TRAP) fault(what + ": stopped at " + describe(eip) + " without returning");

    uint32_t esp_after = 0;
    uc_reg_read(uc_, UC_X86_REG_ESP, &esp_after);
    const int64_t removed = int64_t{esp_after} - (int64_t{esp} + 4);
    if (removed != expect.argument_bytes)
        fault(what + ": removed " + std::to_string(removed) + " bytes of arguments from the stack, but takes " +
              std::to_string(expect.argument_bytes) + " (a __stdcall routine removes exactly its own arguments)");
    for (const Preserved& p : PRESERVED) {
        uint32_t v = 0;
        uc_reg_read(uc_, p.reg, &v);
        if (v != p.mark) fault(what + ": did not preserve " + p.name + ", which a __stdcall routine must keep");
    }
    uint16_t sw = 0;
    uc_reg_read(uc_, UC_X86_REG_FPSW, &sw);
    const int top_of_stack = (sw >> 11) & 7;
    const int pushed = (8 - top_of_stack) & 7;
    if (pushed != expect.x87_results)
        fault(what + ": left " + std::to_string(pushed) + " values on the x87 stack, expected " +
              std::to_string(expect.x87_results) +
              (expect.x87_results ? " (a 64-bit float result leaves in ST(0))" : ""));

    CallResult result;
    result.instructions = h.module_steps;
    uc_reg_read(uc_, UC_X86_REG_EAX, &result.eax);
    if (expect.x87_results) {
        uint64_t raw[2] = {0, 0};  // Unicorn's FP registers are physical: ST(0) is FP[TOP]
        uc_reg_read(uc_, UC_X86_REG_FP0 + top_of_stack, raw);
        result.st0 = extended_to_double(Extended80{raw[0], static_cast<uint16_t>(raw[1])});
    }
    return result;
}

uint32_t EmulatedModule::call_library_entry(uint32_t reason) {
    const uint32_t args[3] = {base_, reason, 0};
    return call(base_ + image_.entry_rva(), CallKind::LibraryEntry, args, "library entry").eax;
}

double EmulatedModule::call_value_callback(uint32_t routine, uint32_t element, const std::string& what) {
    const uint32_t args[1] = {element};
    return call(routine, CallKind::ValueCallback, args, what).st0;
}

int32_t EmulatedModule::call_mouse_function(uint32_t routine, int32_t x, int32_t y, uint32_t flags,
                                            const std::string& what) {
    // The click point lives on the stack above the call's frame.
    const uint32_t point = STACK_BASE + STACK_SIZE - 0x80;
    const int32_t xy[2] = {x, y};
    write(point, xy, sizeof xy);
    const uint32_t args[2] = {point, flags};
    return static_cast<int32_t>(call(routine, CallKind::MouseFunction, args, what).eax);
}

void EmulatedModule::call_routine(uint32_t routine, const std::string& what) {
    call(routine, CallKind::Routine, {}, what);
}

void EmulatedModule::call_routine(uint32_t routine, uint32_t argument, const std::string& what) {
    const uint32_t args[1] = {argument};
    call(routine, CallKind::RoutineWithArg, args, what);
}

}  // namespace emu
