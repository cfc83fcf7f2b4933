// A 32-bit Windows DLL read from its file: headers, sections, base
// relocations, exports and bitmap resources. Enough to lay the image out in
// memory at any base the way the Windows loader would, with no Windows at hand.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/backend.h"

namespace emu {

// A malformed or unexpected file; the message names the file and the fault.
struct PeError : zephel::HostError {
    using zephel::HostError::HostError;
};

struct PeSection {
    std::string name;
    uint32_t rva = 0;
    uint32_t virtual_size = 0;   // bytes the section takes in memory
    uint32_t characteristics = 0;
    std::vector<uint8_t> data;   // its bytes in the file (may be shorter than virtual_size)

    bool executable() const { return characteristics & 0x20000000u; }
    bool writable() const { return characteristics & 0x80000000u; }
};

struct PeExport {
    std::string name;      // empty for an export by ordinal only
    uint32_t ordinal = 0;
    uint32_t rva = 0;
};

class PeImage {
public:
    // Reads a file; throws PeError naming the path and the fault.
    static PeImage load(const std::string& path);
    static PeImage parse(std::vector<uint8_t> file, const std::string& label);

    // The file's path (or the label it was parsed under), for messages.
    const std::string& label() const { return label_; }
    uint32_t image_base() const { return image_base_; }
    uint32_t size_of_image() const { return size_of_image_; }
    uint32_t entry_rva() const { return entry_rva_; }
    uint16_t dll_characteristics() const { return dll_characteristics_; }
    const std::vector<PeSection>& sections() const { return sections_; }
    const std::string& export_dll_name() const { return export_dll_name_; }
    const std::vector<PeExport>& exports() const { return exports_; }
    // RVAs of the 32-bit words that base relocations adjust.
    const std::vector<uint32_t>& relocations() const { return relocations_; }
    uint64_t file_size() const { return file_size_; }

    std::optional<uint32_t> export_rva(const std::string& name) const;
    std::optional<uint32_t> export_rva(uint32_t ordinal) const;
    const PeSection* section_at(uint32_t rva) const;

    // The memory image (size_of_image bytes) as the loader lays it out at
    // `base`, with every base relocation applied.
    std::vector<uint8_t> map_at(uint32_t base) const;

    // Bitmap resources (RT_BITMAP): ID -> the DIB as stored, information header
    // onwards. The first language of each ID is taken.
    const std::map<uint32_t, std::vector<uint8_t>>& bitmaps() const { return bitmaps_; }

private:
    std::string label_;
    uint32_t image_base_ = 0;
    uint32_t size_of_image_ = 0;
    uint32_t size_of_headers_ = 0;
    uint32_t entry_rva_ = 0;
    uint16_t dll_characteristics_ = 0;
    uint64_t file_size_ = 0;
    std::vector<uint8_t> headers_;
    std::vector<PeSection> sections_;
    std::string export_dll_name_;
    std::vector<PeExport> exports_;
    std::vector<uint32_t> relocations_;
    std::map<uint32_t, std::vector<uint8_t>> bitmaps_;

    void read_exports(uint32_t rva, uint32_t size);
    void read_relocations(uint32_t rva, uint32_t size);
    void read_resources(uint32_t rva, uint32_t size);
    // Bytes at an RVA as mapped (zero past a section's file data).
    std::vector<uint8_t> read(uint32_t rva, uint32_t size) const;
    uint32_t u32(uint32_t rva) const;
    uint16_t u16(uint32_t rva) const;
    std::string cstr(uint32_t rva) const;
    [[noreturn]] void fail(const std::string& what) const;
};

}  // namespace emu
