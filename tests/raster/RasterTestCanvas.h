// A small surface for rasteriser tests, readable as a text grid: '.' for
// index 0, '#' for index 1, other indices as letters from 'a' (2).
#pragma once
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>
#include "platform/graph/raster/Raster.h"

struct Canvas {
    std::vector<uint8_t> pixels;
    Raster::Surface surface;

    Canvas(int width, int height, uint8_t fill = 0)
        : pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {
        surface.pixels = pixels.data();
        surface.width = width;
        surface.height = height;
        surface.pitch = width;
    }
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * surface.pitch + x]; }

    // The pixels as rows of characters, each row ending in '\n'.
    std::string Grid() const { return Crop(0, 0, surface.width, surface.height); }
    std::string Crop(int left, int top, int width, int height) const {
        std::string out;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                uint8_t v = At(x, y);
                out += v == 0 ? '.' : v == 1 ? '#' : static_cast<char>('a' + v - 2);
            }
            out += '\n';
        }
        return out;
    }
    // A view of the part of this canvas from (left, top), width x height
    // pixels, sharing its pixels: drawing into it clips at the view's edges.
    Raster::Surface View(int left, int top, int width, int height) {
        Raster::Surface v;
        v.pixels = pixels.data() + static_cast<size_t>(top) * surface.pitch + left;
        v.width = width;
        v.height = height;
        v.pitch = surface.pitch;
        return v;
    }
};

// Joins text rows into one grid string, so golden pictures read as pictures.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* r : rows) {
        out += r;
        out += '\n';
    }
    return out;
}

inline Raster::Pen SolidPen(uint8_t colour) {
    Raster::Pen pen;
    pen.colour = colour;
    return pen;
}

inline Raster::Brush SolidBrush(uint8_t colour) {
    Raster::Brush b;
    b.colour = colour;
    return b;
}

// Clipping against the truth: `shapes` random shapes with corners from -30 to
// 60, each drawn whole on a large canvas and drawn through a 13 x 11 view of
// another; the view must show exactly the whole shape's pixels there.
// `draw(surface, x1, y1, x2, y2, i)` draws shape number i.
template <typename Draw>
void ExpectClippedEqualsWhole(unsigned seed, int shapes, Draw draw) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> coord(-30, 60);
    for (int i = 0; i < shapes; ++i) {
        const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        Canvas big(100, 100), small(100, 100);
        draw(big.surface, x1 + 30, y1 + 30, x2 + 30, y2 + 30, i);
        draw(small.View(40, 35, 13, 11), x1 - 10, y1 - 5, x2 - 10, y2 - 5, i);
        ASSERT_EQ(small.Crop(40, 35, 13, 11), big.Crop(40, 35, 13, 11)) << x1 << "," << y1 << "," << x2 << "," << y2;
    }
}
