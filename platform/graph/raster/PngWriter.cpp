// PNG snapshots of a palette-index surface: an 8-bit palette image of the
// whole surface, not interlaced, with the palette's colours (up to 256).
#include "platform/graph/raster/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace Raster {

namespace {

// libpng reports errors by longjmp; everything that needs releasing is
// owned outside the jump's reach.
bool WriteRows(std::FILE* file, const Surface& surface, const std::vector<png_color>& colours) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width), static_cast<png_uint_32>(surface.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_write_info(png, info);
    for (int32_t y = 0; y < surface.height; ++y)
        png_write_row(png, surface.pixels + static_cast<ptrdiff_t>(y) * surface.pitch);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(std::FILE* file, const Surface& surface, const uint32_t* palette, int count) {
    if (file == nullptr || surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0) return false;
    // Every index a pixel can hold gets an entry; those beyond the given
    // palette are black.
    std::vector<png_color> colours(256, png_color{0, 0, 0});
    for (int i = 0; i < count && i < 256 && palette != nullptr; ++i) {
        colours[static_cast<size_t>(i)].red = static_cast<png_byte>(palette[i] >> 16);
        colours[static_cast<size_t>(i)].green = static_cast<png_byte>(palette[i] >> 8);
        colours[static_cast<size_t>(i)].blue = static_cast<png_byte>(palette[i]);
    }
    return WriteRows(file, surface, colours) && std::fflush(file) == 0 && std::ferror(file) == 0;
}

bool WritePngFile(const char* path, const Surface& surface, const uint32_t* palette, int count) {
    if (path == nullptr || surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool written = WritePng(file, surface, palette, count);
    bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace Raster
