// The catalogue of bitmaps the generator draws. Each picture registers itself
// with ARTWORK(name, id, width, height, kind) followed by the body of its
// drawing routine, which gets a Cairo context on a transparent surface of the
// picture's size.
#pragma once

#include <cairo.h>

#include <vector>

namespace artgen {

enum class ArtKind {
    picture,       // palettised, pure black where nothing is drawn
    mask,          // window mask: (1, 1, 1) where drawn, pure black elsewhere
    slat_picture,  // like picture, with index 0 a dark grey and black elsewhere
};

struct Artwork {
    int id;
    int width;
    int height;
    ArtKind kind;
    const char* name;
    void (*draw)(cairo_t*);
};

std::vector<Artwork>& catalogue();

struct Registrar {
    explicit Registrar(const Artwork& art) { catalogue().push_back(art); }
};

}  // namespace artgen

#define ARTWORK(name, id, width, height, kind)                                            \
    static void draw_##name(cairo_t*);                                                    \
    static const artgen::Registrar register_##name{                                       \
        artgen::Artwork{(id), (width), (height), (kind), #name, draw_##name}};            \
    static void draw_##name([[maybe_unused]] cairo_t* cr)
