// artgen: draws the module's bitmaps from code.
//
//   artgen OUTDIR            write every bitmap as OUTDIR/XXXX.bmp (hex ID)
//   artgen --check DIR       compare every bitmap with DIR/XXXX.bmp, byte for byte
//   artgen --list            list the catalogue
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "artwork.h"
#include "quantize.h"

namespace fs = std::filesystem;

namespace artgen {

std::vector<Artwork>& catalogue() {
    static std::vector<Artwork> all;
    return all;
}

}  // namespace artgen

namespace {

std::string file_name(int id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X.bmp", id);
    return buf;
}

std::vector<uint8_t> render(const artgen::Artwork& art) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, art.width, art.height);
    cairo_t* cr = cairo_create(surface);
    if (art.kind == artgen::ArtKind::mask) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    art.draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface));
    const int stride = cairo_image_surface_get_stride(surface);
    artgen::IndexedImage image;
    switch (art.kind) {
        case artgen::ArtKind::mask:
            image = artgen::quantize_mask(data, art.width, art.height, stride);
            break;
        case artgen::ArtKind::slat_picture:
            image = artgen::quantize(data, art.width, art.height, stride, artgen::PaletteStyle::dark_grey_index_0);
            break;
        case artgen::ArtKind::picture:
            image = artgen::quantize(data, art.width, art.height, stride);
            break;
    }
    cairo_surface_destroy(surface);
    return artgen::encode_bmp8(image);
}

bool write_atomically(const fs::path& path, const std::vector<uint8_t>& bytes) {
    const fs::path tmp = path.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "artgen: cannot write %s\n", tmp.c_str());
            std::error_code ec;
            fs::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) {
        std::fprintf(stderr, "artgen: cannot rename %s to %s: %s\n", tmp.c_str(), path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

void usage(FILE* to) {
    std::fputs(
        "usage: artgen OUTDIR          draw every bitmap into OUTDIR/XXXX.bmp\n"
        "       artgen --check DIR     compare the drawn bitmaps with DIR, byte for byte\n"
        "       artgen --list          list the bitmaps it draws\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        usage(stdout);
        return 0;
    }
    const auto& arts = artgen::catalogue();
    if (argc == 2 && !std::strcmp(argv[1], "--list")) {
        for (const auto& a : arts) std::printf("0x%04X  %4d x %-4d %s\n", a.id, a.width, a.height, a.name);
        return 0;
    }
    const bool check = argc == 3 && !std::strcmp(argv[1], "--check");
    if (!(argc == 2 && argv[1][0] != '-') && !check) {
        usage(stderr);
        return 2;
    }
    const fs::path dir = argv[argc - 1];
    if (!fs::is_directory(dir)) {
        std::fprintf(stderr, "artgen: %s is not a directory\n", dir.c_str());
        return 2;
    }
    int failures = 0;
    for (const auto& art : arts) {
        const std::vector<uint8_t> bytes = render(art);
        const fs::path path = dir / file_name(art.id);
        if (check) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (stored != bytes) {
                std::fprintf(stderr, "artgen: %s differs from the drawing of %s (0x%04X)\n", path.c_str(), art.name, art.id);
                ++failures;
            }
        } else if (!write_atomically(path, bytes)) {
            ++failures;
        }
    }
    if (check && failures == 0) std::printf("artgen: all %zu bitmaps match %s\n", arts.size(), dir.c_str());
    return failures ? 1 : 0;
}
