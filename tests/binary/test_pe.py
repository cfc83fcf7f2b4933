"""The shipped Rt_Zephel.gau as the simulator and Windows see it."""

import os
import re
import shutil
import struct
import subprocess
import tempfile

import pefile
import pytest

from gau_reader import GAU_PATH, ICON, MOVING_IMAGE, SOURCE_DIR, SPRITE, bitmap_resources

IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000
DYNAMIC_BASE, NX_COMPAT, NO_SEH = 0x0040, 0x0100, 0x0400

# Every bitmap of the module with its size (width, height).
BITMAP_SIZES = {
    0x1000: (42, 54), 0x1003: (42, 54), 0x1004: (42, 54),
    0x1100: (333, 333), 0x1200: (260, 260), 0x1201: (333, 333), 0x1300: (260, 260),
    0x1301: (333, 333), 0x1400: (270, 32),
    0x1500: (150, 150), 0x1503: (150, 150), 0x1504: (150, 150),
    0x1600: (150, 150), 0x1603: (94, 48), 0x1606: (94, 48), 0x1609: (230, 230),
    0x1700: (299, 299), 0x1703: (129, 31),
    0x1800: (299, 299), 0x1803: (112, 15), 0x1806: (299, 299),
    0x1900: (301, 331), 0x1903: (730, 47), 0x1904: (154, 47), 0x1907: (730, 47),
    0x1908: (154, 47), 0x190B: (301, 331), 0x190E: (250, 32),
    0x2000: (309, 301), 0x2003: (309, 301), 0x2006: (309, 301),
}


def test_machine_and_kind(gau):
    fh = gau.pe.FILE_HEADER
    assert fh.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]
    assert fh.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"]
    assert gau.pe.OPTIONAL_HEADER.Magic == 0x10B  # PE32
    assert fh.TimeDateStamp == 0


def test_exactly_two_data_exports_in_writable_non_executable_memory(gau):
    exports = gau.pe.DIRECTORY_ENTRY_EXPORT
    assert gau.pe.get_string_at_rva(exports.struct.Name) == b"Rt_Zephel.gau"
    assert exports.struct.TimeDateStamp == 0
    by_name = {s.name.decode(): s for s in exports.symbols}
    assert sorted(by_name) == ["ImportTable", "Linkage"]
    assert by_name["ImportTable"].ordinal == 1
    assert by_name["Linkage"].ordinal == 2
    for sym in by_name.values():
        section = gau.section_of(gau.base + sym.address)
        assert section is not None
        assert section.Characteristics & IMAGE_SCN_MEM_WRITE, section.Name
        assert not section.Characteristics & IMAGE_SCN_MEM_EXECUTE, section.Name


def test_import_table_as_stored(gau):
    va = gau.export("ImportTable")
    assert [gau.u32(va + i) for i in range(0, 16, 4)] == [0x0F, 0, 0, 0]


def test_no_imports_and_hardening_flags(gau):
    assert not hasattr(gau.pe, "DIRECTORY_ENTRY_IMPORT")
    imp = gau.pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]]
    assert (imp.VirtualAddress, imp.Size) == (0, 0)
    flags = gau.pe.OPTIONAL_HEADER.DllCharacteristics
    assert flags & DYNAMIC_BASE and flags & NX_COMPAT and flags & NO_SEH
    reloc = gau.pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    assert reloc.Size > 0
    assert any(len(block.entries) for block in gau.pe.DIRECTORY_ENTRY_BASERELOC)


def test_no_section_both_writable_and_executable(gau):
    for s in gau.pe.sections:
        both = IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE
        assert s.Characteristics & both != both, s.Name


def test_linkage_pointers_are_all_relocated(gau):
    """Every pointer in Linkage must be in the relocation table, or the
    simulator's loader would leave it pointing at the preferred base."""
    relocated = {gau.base + e.rva for block in gau.pe.DIRECTORY_ENTRY_BASERELOC for e in block.entries
                 if e.type == pefile.RELOCATION_TYPE["IMAGE_REL_BASED_HIGHLOW"]}
    linkage = gau.export("Linkage")
    assert linkage + 4 in relocated and linkage + 8 in relocated
    for i, _ in enumerate(gau.gauge_headers()):
        assert linkage + 24 + 4 * i in relocated


def referenced_bitmaps(gau):
    """Every bitmap the records name, with ID+1 for icons, moving images and sprites."""
    ids = set()
    for h in gau.gauge_headers():
        for e in gau.elements(h):
            kind, bitmap = gau.u32(e), gau.u32(e + 4)
            ids.add(bitmap)
            if kind in (ICON, MOVING_IMAGE, SPRITE):
                ids.add(bitmap + 1)
    return ids


def test_bitmaps_are_exactly_those_the_records_name(gau):
    assert set(bitmap_resources(gau)) == referenced_bitmaps(gau)
    if len(gau.gauge_headers()) == 9:
        assert len(bitmap_resources(gau)) == 31


def test_bitmap_format(gau):
    for rid, dib in bitmap_resources(gau).items():
        (size, width, height, planes, bpp, compression, image_size, _, _, used, _) = struct.unpack_from(
            "<IiiHHIIiiII", dib)
        assert size == 40, hex(rid)
        assert (width, height) == BITMAP_SIZES[rid], hex(rid)
        assert planes == 1 and bpp == 8 and compression == 0, hex(rid)
        assert used in (0, 256), hex(rid)
        stride = (width + 3) & ~3
        assert len(dib) == 40 + 1024 + stride * height, hex(rid)


def test_version_block(gau):
    ffi = gau.pe.VS_FIXEDFILEINFO[0]
    assert (ffi.FileVersionMS, ffi.FileVersionLS) == (0x00010000, 0)
    assert (ffi.ProductVersionMS, ffi.ProductVersionLS) == (0x00010000, 0)
    assert ffi.FileFlagsMask == 0x3F and ffi.FileFlags == 0
    assert ffi.FileOS == 0x00010004 and ffi.FileType == 1 and ffi.FileSubtype == 0
    assert (ffi.FileDateMS, ffi.FileDateLS) == (0, 0)
    tables = [st for fi in gau.pe.FileInfo[0] if fi.Key == b"StringFileInfo" for st in fi.StringTable]
    assert [t.LangID for t in tables] == [b"040904b0"]
    entries = list(tables[0].entries.items())
    keys = [k.decode() for k, _ in entries]
    assert keys == ["CompanyName", "FileDescription", "FileVersion", "LegalCopyright", "ProductName",
                    "Gauge Coding", "ProductVersion"]
    values = {k.decode(): v.decode() for k, v in entries}
    assert values["FileDescription"] == "FS2000 Gauge for CFS2/FS2002"
    assert values["FileVersion"] == "1.0.0"
    assert values["ProductName"] == "Rt Zephel"
    assert values["ProductVersion"] == "1.0.0"
    assert all(values[k] for k in ("CompanyName", "LegalCopyright", "Gauge Coding"))
    var = [fi for fi in gau.pe.FileInfo[0] if fi.Key == b"VarFileInfo"]
    assert var and var[0].Var[0].entry == {b"Translation": "0x0409 0x04b0"}
    for rtype in gau.pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id == pefile.RESOURCE_TYPE["RT_VERSION"]:
            assert [lang.id for r in rtype.directory.entries for lang in r.directory.entries] == [0x0409]


# Instructions a Pentium (i586) lacks: CMOVcc, FCMOVcc, FCOMI/FUCOMI(P), and
# anything touching MMX or SSE registers.
P6_OR_LATER = re.compile(r"\b(cmov\w*|fcmov\w*|f?u?comip?|fcomi|fucomi|sysenter|rdpmc|ud2)\b|%[xy]?mm\d")


def test_code_runs_on_a_pentium():
    out = subprocess.run(["i686-w64-mingw32-objdump", "-d", "--no-show-raw-insn", GAU_PATH],
                         check=True, capture_output=True, text=True).stdout
    bad = [line for line in out.splitlines() if "\t" in line and P6_OR_LATER.search(line.split("\t", 1)[1])]
    assert not bad, "\n".join(bad[:10])


@pytest.mark.skipif(shutil.which("cmake") is None, reason="needs cmake")
def test_two_builds_give_identical_bytes():
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["cmake", "-S", SOURCE_DIR, "-B", tmp, "-G", "Ninja",
                        f"-DCMAKE_TOOLCHAIN_FILE={SOURCE_DIR}/cmake/i686-mingw.cmake",
                        "-DCMAKE_BUILD_TYPE=MinSizeRel"], check=True, capture_output=True)
        subprocess.run(["cmake", "--build", tmp], check=True, capture_output=True)
        with open(os.path.join(tmp, "Rt_Zephel.gau"), "rb") as f, open(GAU_PATH, "rb") as g:
            assert f.read() == g.read()
