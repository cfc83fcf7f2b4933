"""Reads Rt_Zephel.gau the way the simulator does, with pefile as the
independent PE reader: exports, then Linkage, then the records it leads to,
all at the 32-bit byte offsets of the simulator's record layout."""

import os
import struct

import pefile

GAU_PATH = os.environ.get("ZEPHEL_GAU", "build/win32/Rt_Zephel.gau")
SOURCE_DIR = os.environ.get("ZEPHEL_SOURCE", ".")

# Element kinds.
STATIC_IMAGE, NEEDLE, SLIDER, ICON, MOVING_IMAGE, SPRITE = 0, 1, 3, 4, 5, 6
RECORD_SIZE = {STATIC_IMAGE: 96, NEEDLE: 236, SLIDER: 192, ICON: 140, MOVING_IMAGE: 268, SPRITE: 352}


class Gau:
    def __init__(self, path=GAU_PATH):
        self.path = path
        self.pe = pefile.PE(path)
        self.base = self.pe.OPTIONAL_HEADER.ImageBase
        self.image = self.pe.get_memory_mapped_image()

    # --- raw reads at virtual addresses (pointers in the file are absolute) ---
    def bytes(self, va, n):
        off = va - self.base
        assert 0 <= off and off + n <= len(self.image), f"address {va:#x} outside the image"
        return self.image[off:off + n]

    def u32(self, va):
        return struct.unpack_from("<I", self.bytes(va, 4))[0]

    def i32(self, va):
        return struct.unpack_from("<i", self.bytes(va, 4))[0]

    def f64(self, va):
        return struct.unpack_from("<d", self.bytes(va, 8))[0]

    def f32(self, va):
        return struct.unpack_from("<f", self.bytes(va, 4))[0]

    def cstr(self, va):
        out = b""
        while (c := self.bytes(va + len(out), 1)) != b"\0":
            out += c
        return out.decode("ascii")

    def export(self, name):
        for sym in self.pe.DIRECTORY_ENTRY_EXPORT.symbols:
            if sym.name and sym.name.decode() == name:
                return self.base + sym.address
        raise KeyError(name)

    def section_of(self, va):
        rva = va - self.base
        for s in self.pe.sections:
            if s.VirtualAddress <= rva < s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData):
                return s
        return None

    # --- records ---
    def gauge_headers(self):
        """Header addresses from Linkage's gauge table, up to the null."""
        linkage = self.export("Linkage")
        out = []
        va = linkage + 24
        while (h := self.u32(va)) != 0:
            out.append(h)
            va += 4
            assert len(out) <= 9, "gauge table not terminated after nine gauges"
        return out

    def gauge(self, name):
        for h in self.gauge_headers():
            if self.cstr(self.u32(h + 4)) == name:
                return h
        raise KeyError(name)

    def elements(self, header):
        """Element addresses in drawing order: the root, then each only child."""
        lst = self.u32(header + 8)
        assert self.u32(lst + 4) == 0, "a header's element list holds one element"
        out = []
        e = self.u32(lst)
        while e:
            out.append(e)
            children = self.u32(e + 40)
            if not children:
                break
            assert self.u32(children + 4) == 0, "every children list holds one element"
            e = self.u32(children)
        return out

    def element_header(self, e):
        return dict(kind=self.u32(e), bitmap=self.u32(e + 4), position=(self.i32(e + 8), self.i32(e + 12)),
                    offset=(self.i32(e + 24), self.i32(e + 28)), gauge=self.u32(e + 32),
                    failures=self.failures(self.u32(e + 44)), failure_list=self.u32(e + 44),
                    draw_flags=self.u32(e + 48), instrumentation=self.u32(e + 52), reserved=self.u32(e + 56))

    def failures(self, va):
        if va == 0:
            return None
        out = []
        while True:
            key, action, reserved = struct.unpack_from("<IIi", self.bytes(va, 12))
            out.append((key, action, reserved))
            if key == 0:
                return out
            va += 12

    def token(self, va):
        """A token binding: (token, every host byte) — the host bytes must be zero."""
        return self.u32(va), self.bytes(va + 4, 24)

    def nonlinearity(self, va, count):
        return [(self.i32(va + 24 * i), self.i32(va + 24 * i + 4), self.f64(va + 24 * i + 8),
                 self.f64(va + 24 * i + 16)) for i in range(count)]

    def mouse_rows(self, va):
        rows = []
        while True:
            row = struct.unpack_from("<IiiiiiIIIII", self.bytes(va, 44))
            rows.append(row)
            if row[0] == 0:
                return rows
            va += 44

    def function_rva(self, va):
        return va - self.base if va else 0


def decode_dib(dib):
    """An 8-bit DIB (information header onwards) as (width, height, palette,
    rows of palette indices, top row first)."""
    (size, width, height, _, bpp, _, _, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", dib)
    assert size == 40 and bpp == 8
    palette = [tuple(dib[40 + 4 * i + 2 - c] for c in range(3)) for i in range(256)]
    stride = (width + 3) & ~3
    pixels = dib[40 + 1024:]
    rows = [pixels[(height - 1 - y) * stride:(height - 1 - y) * stride + width] for y in range(height)]
    return width, height, palette, rows


def bitmap_rgb(gau, rid):
    """A bitmap resource of the .gau as (palette, rows of (r, g, b))."""
    _, _, palette, rows = decode_dib(bitmap_resources(gau)[rid])
    return palette, [[palette[i] for i in row] for row in rows]


def drawn_box(rows, x0=0, y0=0, x1=None, y1=None):
    """Bounding box (left, top, right, bottom), inclusive, of the non-black
    pixels inside the given region, or None."""
    x1 = len(rows[0]) - 1 if x1 is None else x1
    y1 = len(rows) - 1 if y1 is None else y1
    xs, ys = [], []
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if rows[y][x] != (0, 0, 0):
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def bitmap_resources(gau):
    out = {}
    for rtype in gau.pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id != pefile.RESOURCE_TYPE["RT_BITMAP"]:
            continue
        for rid in rtype.directory.entries:
            assert rid.name is None, "bitmaps are identified by number"
            langs = rid.directory.entries
            assert [lang.id for lang in langs] == [1033] and langs[0].data.sublang == 1, hex(rid.id)
            data = langs[0].data.struct
            out[rid.id] = gau.pe.get_data(data.OffsetToData, data.Size)
    return out
