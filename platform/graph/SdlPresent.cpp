// Palette applied at present time: one table lookup per pixel into the
// window's own pixel format.
#include "platform/graph/SdlPresent.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdint>

namespace Graph::detail {

namespace {

void FillColourTable(const Palette& palette, const SDL_PixelFormat* format, uint32_t (&table)[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = palette.RGB(static_cast<uint8_t>(i));
        table[i] = SDL_MapRGB(format, static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                              static_cast<Uint8>(rgb));
    }
}

// The common case: 32-bit window pixels.
void Convert32(const FrameCopy& frame, SDL_Surface* surface, int w, int h) {
    uint32_t table[256];
    FillColourTable(frame.palette, surface->format, table);
    const uint8_t* src = frame.pixels.data();
    auto* dstRow = static_cast<uint8_t*>(surface->pixels);
    for (int y = 0; y < h; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(dstRow);
        const uint8_t* s = src + static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width);
        for (int x = 0; x < w; ++x) dst[x] = table[s[x]];
        dstRow += surface->pitch;
    }
}

// Any other pixel format: let SDL blit an 8-bit surface with the palette.
void ConvertOther(const FrameCopy& frame, SDL_Surface* surface, int w, int h) {
    SDL_Surface* indexed = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(frame.pixels.data()), frame.width, frame.height, 8, frame.width,
        SDL_PIXELFORMAT_INDEX8);
    if (!indexed) return;
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = frame.palette.RGB(static_cast<uint8_t>(i));
        colours[i] = SDL_Color{static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                               static_cast<Uint8>(rgb), 255};
    }
    SDL_SetPaletteColors(indexed->format->palette, colours, 0, 256);
    SDL_Rect area{0, 0, w, h};
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_BlitSurface(indexed, &area, surface, &area);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    SDL_FreeSurface(indexed);
}

}  // namespace

void ConvertFrame(const FrameCopy& frame, SDL_Surface* surface) {
    if (frame.pixels.empty() || !surface || !surface->pixels) return;
    const int w = std::min(frame.width, surface->w);
    const int h = std::min(frame.height, surface->h);
    if (surface->format->BytesPerPixel == 4) Convert32(frame, surface, w, h);
    else ConvertOther(frame, surface, w, h);
}

}  // namespace Graph::detail
