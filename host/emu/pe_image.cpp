#include "host/emu/pe_image.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace emu {

namespace {

constexpr uint16_t MACHINE_I386 = 0x014C;
constexpr uint16_t OPTIONAL_MAGIC_PE32 = 0x010B;
constexpr int DIR_EXPORT = 0;
constexpr int DIR_RESOURCE = 2;
constexpr int DIR_BASERELOC = 5;
constexpr uint32_t RT_BITMAP = 2;
constexpr uint16_t REL_ABSOLUTE = 0;
constexpr uint16_t REL_HIGHLOW = 3;

uint32_t get32(const std::vector<uint8_t>& b, size_t off) {
    uint32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}
uint16_t get16(const std::vector<uint8_t>& b, size_t off) {
    uint16_t v;
    std::memcpy(&v, b.data() + off, 2);
    return v;
}

std::string hex(uint32_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

}  // namespace

void PeImage::fail(const std::string& what) const { throw PeError(label_ + ": " + what); }

PeImage PeImage::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PeError(path + ": cannot open the file");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(std::move(bytes), path);
}

PeImage PeImage::parse(std::vector<uint8_t> file, const std::string& label) {
    PeImage pe;
    pe.label_ = label;
    pe.file_size_ = file.size();
    auto need = [&](size_t off, size_t n, const char* what) {
        if (off + n > file.size() || off + n < off) pe.fail(std::string("file too short for ") + what);
    };
    if (file.size() < 2 || file[0] != 'M' || file[1] != 'Z') pe.fail("not a Windows executable (no MZ signature)");
    need(0, 0x40, "the DOS header");
    const uint32_t nt = get32(file, 0x3C);
    need(nt, 24, "the PE header");
    if (get32(file, nt) != 0x00004550u) pe.fail("no PE signature at " + hex(nt));
    const size_t coff = nt + 4;
    if (get16(file, coff) != MACHINE_I386) pe.fail("not a 32-bit x86 file (machine " + hex(get16(file, coff)) + ")");
    const uint16_t section_count = get16(file, coff + 2);
    const uint16_t optional_size = get16(file, coff + 16);
    const size_t opt = coff + 20;
    need(opt, optional_size, "the optional header");
    if (optional_size < 96 || get16(file, opt) != OPTIONAL_MAGIC_PE32) pe.fail("not a PE32 optional header");
    pe.entry_rva_ = get32(file, opt + 16);
    pe.image_base_ = get32(file, opt + 28);
    pe.size_of_image_ = get32(file, opt + 56);
    pe.size_of_headers_ = get32(file, opt + 60);
    pe.dll_characteristics_ = get16(file, opt + 70);
    const uint32_t dir_count = get32(file, opt + 92);
    auto directory = [&](int index) -> std::pair<uint32_t, uint32_t> {
        if (static_cast<uint32_t>(index) >= dir_count || 96 + 8 * (index + 1) > optional_size) return {0, 0};
        return {get32(file, opt + 96 + 8 * index), get32(file, opt + 100 + 8 * index)};
    };
    if (pe.size_of_image_ == 0 || pe.size_of_image_ > 64u * 1024 * 1024) pe.fail("implausible image size " + hex(pe.size_of_image_));
    need(0, std::min<size_t>(pe.size_of_headers_, file.size()), "the headers");
    pe.headers_.assign(file.begin(), file.begin() + std::min<size_t>(pe.size_of_headers_, file.size()));

    const size_t table = opt + optional_size;
    need(table, size_t{40} * section_count, "the section table");
    for (int i = 0; i < section_count; ++i) {
        const size_t s = table + 40 * static_cast<size_t>(i);
        PeSection sec;
        sec.name.assign(reinterpret_cast<const char*>(&file[s]), strnlen(reinterpret_cast<const char*>(&file[s]), 8));
        sec.virtual_size = get32(file, s + 8);
        sec.rva = get32(file, s + 12);
        const uint32_t raw_size = get32(file, s + 16);
        const uint32_t raw_offset = get32(file, s + 20);
        sec.characteristics = get32(file, s + 36);
        if (sec.virtual_size == 0) sec.virtual_size = raw_size;
        const uint32_t take = std::min(raw_size, sec.virtual_size);
        if (take) {
            need(raw_offset, take, ("section " + sec.name).c_str());
            sec.data.assign(file.begin() + raw_offset, file.begin() + raw_offset + take);
        }
        if (uint64_t{sec.rva} + sec.virtual_size > pe.size_of_image_)
            pe.fail("section " + sec.name + " reaches past the image size");
        pe.sections_.push_back(std::move(sec));
    }

    if (auto [rva, size] = directory(DIR_EXPORT); rva) pe.read_exports(rva, size);
    if (auto [rva, size] = directory(DIR_BASERELOC); rva) pe.read_relocations(rva, size);
    if (auto [rva, size] = directory(DIR_RESOURCE); rva) pe.read_resources(rva, size);
    return pe;
}

const PeSection* PeImage::section_at(uint32_t rva) const {
    for (const PeSection& s : sections_)
        if (rva >= s.rva && rva - s.rva < s.virtual_size) return &s;
    return nullptr;
}

std::vector<uint8_t> PeImage::read(uint32_t rva, uint32_t size) const {
    std::vector<uint8_t> out(size, 0);
    const PeSection* s = section_at(rva);
    if (!s || uint64_t{rva} + size > uint64_t{s->rva} + s->virtual_size)
        fail(std::to_string(size) + " bytes at RVA " + hex(rva) + " lie outside every section");
    const uint32_t off = rva - s->rva;
    if (off < s->data.size())
        std::copy_n(s->data.begin() + off, std::min<size_t>(size, s->data.size() - off), out.begin());
    return out;
}

uint32_t PeImage::u32(uint32_t rva) const { return get32(read(rva, 4), 0); }
uint16_t PeImage::u16(uint32_t rva) const { return get16(read(rva, 2), 0); }

std::string PeImage::cstr(uint32_t rva) const {
    std::string out;
    for (;;) {
        const uint8_t c = read(rva + static_cast<uint32_t>(out.size()), 1)[0];
        if (c == 0) return out;
        out.push_back(static_cast<char>(c));
        if (out.size() > 4096) fail("unterminated name at RVA " + hex(rva));
    }
}

void PeImage::read_exports(uint32_t rva, uint32_t size) {
    export_dll_name_ = cstr(u32(rva + 12));
    const uint32_t ordinal_base = u32(rva + 16);
    const uint32_t function_count = u32(rva + 20);
    const uint32_t name_count = u32(rva + 24);
    const uint32_t functions = u32(rva + 28);
    const uint32_t names = u32(rva + 32);
    const uint32_t name_ordinals = u32(rva + 36);
    if (function_count > 65536 || name_count > function_count) fail("implausible export directory");
    std::vector<std::string> name_of(function_count);
    for (uint32_t i = 0; i < name_count; ++i) {
        const uint16_t index = u16(name_ordinals + 2 * i);
        if (index >= function_count) fail("export name " + std::to_string(i) + " names a missing entry");
        name_of[index] = cstr(u32(names + 4 * i));
    }
    for (uint32_t i = 0; i < function_count; ++i) {
        const uint32_t target = u32(functions + 4 * i);
        if (target == 0) continue;
        if (target >= rva && target - rva < size)
            fail("export " + std::to_string(ordinal_base + i) + " is forwarded to another library");
        exports_.push_back({name_of[i], ordinal_base + i, target});
    }
}

void PeImage::read_relocations(uint32_t rva, uint32_t size) {
    uint32_t at = 0;
    while (at + 8 <= size) {
        const uint32_t page = u32(rva + at);
        const uint32_t block = u32(rva + at + 4);
        if (block < 8 || at + block > size) fail("malformed base-relocation block at RVA " + hex(rva + at));
        for (uint32_t e = 8; e + 2 <= block; e += 2) {
            const uint16_t entry = u16(rva + at + e);
            const uint16_t type = entry >> 12;
            if (type == REL_ABSOLUTE) continue;
            if (type != REL_HIGHLOW) fail("base relocation of unsupported type " + std::to_string(type));
            relocations_.push_back(page + (entry & 0x0FFFu));
        }
        at += block;
    }
}

void PeImage::read_resources(uint32_t rva, uint32_t size) {
    // Root (types) -> IDs -> languages -> data entry. Offsets are relative to
    // the directory's start; the high bit marks a subdirectory.
    auto entries = [&](uint32_t dir) {
        std::vector<std::pair<uint32_t, uint32_t>> out;  // (id or name offset, target)
        const uint32_t count = uint32_t{u16(rva + dir + 12)} + u16(rva + dir + 14);
        for (uint32_t i = 0; i < count; ++i)
            out.push_back({u32(rva + dir + 16 + 8 * i), u32(rva + dir + 20 + 8 * i)});
        return out;
    };
    auto subdir = [&](uint32_t target) {
        if (!(target & 0x80000000u) || (target & 0x7FFFFFFFu) >= size) fail("malformed resource directory");
        return target & 0x7FFFFFFFu;
    };
    for (auto [type, type_target] : entries(0)) {
        if (type != RT_BITMAP) continue;
        for (auto [id, id_target] : entries(subdir(type_target))) {
            if (id & 0x80000000u) fail("bitmap resource with a name instead of a number");
            const auto languages = entries(subdir(id_target));
            if (languages.empty()) continue;
            const uint32_t data_entry = languages.front().second;
            if (data_entry & 0x80000000u) fail("malformed resource directory");
            const uint32_t data_rva = u32(rva + data_entry);
            const uint32_t data_size = u32(rva + data_entry + 4);
            bitmaps_[id] = read(data_rva, data_size);
        }
    }
}

std::optional<uint32_t> PeImage::export_rva(const std::string& name) const {
    for (const PeExport& e : exports_)
        if (e.name == name) return e.rva;
    return std::nullopt;
}

std::optional<uint32_t> PeImage::export_rva(uint32_t ordinal) const {
    for (const PeExport& e : exports_)
        if (e.ordinal == ordinal) return e.rva;
    return std::nullopt;
}

std::vector<uint8_t> PeImage::map_at(uint32_t base) const {
    std::vector<uint8_t> image(size_of_image_, 0);
    std::copy_n(headers_.begin(), std::min<size_t>(headers_.size(), image.size()), image.begin());
    for (const PeSection& s : sections_) std::copy(s.data.begin(), s.data.end(), image.begin() + s.rva);
    const uint32_t delta = base - image_base_;
    if (delta != 0) {
        if (relocations_.empty()) fail("the image has no base relocations and cannot move to " + hex(base));
        for (uint32_t at : relocations_) {
            if (uint64_t{at} + 4 > image.size()) fail("base relocation at RVA " + hex(at) + " outside the image");
            uint32_t word;
            std::memcpy(&word, &image[at], 4);
            word += delta;
            std::memcpy(&image[at], &word, 4);
        }
    }
    return image;
}

}  // namespace emu
