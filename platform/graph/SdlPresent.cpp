// Palette applied at present time: one table lookup per pixel into the
// window's own pixel format.
#include "platform/graph/SdlPresent.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace Graph::detail {

namespace {

void FillColourTable(const Palette& palette, const SDL_PixelFormat* format, uint32_t (&table)[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = palette.RGB(static_cast<uint8_t>(i));
        table[i] = SDL_MapRGB(format, static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                              static_cast<Uint8>(rgb));
    }
}

// The common case: 32-bit window pixels, rows y0..y1-1.
void Convert32(const FrameCopy& frame, SDL_Surface* surface, int w, int y0, int y1) {
    uint32_t table[256];
    FillColourTable(frame.palette, surface->format, table);
    const uint8_t* src = frame.pixels.data();
    auto* dstRow = static_cast<uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y0) * surface->pitch;
    for (int y = y0; y < y1; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(dstRow);
        const uint8_t* s = src + static_cast<std::ptrdiff_t>(y) * frame.pitch;
        for (int x = 0; x < w; ++x) dst[x] = table[s[x]];
        dstRow += surface->pitch;
    }
}

// Any other pixel format: let SDL blit an 8-bit surface with the palette.
void ConvertOther(const FrameCopy& frame, SDL_Surface* surface, int w, int y0, int y1) {
    SDL_Surface* indexed = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(frame.pixels.data()), frame.width, frame.height, 8, frame.pitch,
        SDL_PIXELFORMAT_INDEX8);
    if (!indexed) return;
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = frame.palette.RGB(static_cast<uint8_t>(i));
        colours[i] = SDL_Color{static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                               static_cast<Uint8>(rgb), 255};
    }
    SDL_SetPaletteColors(indexed->format->palette, colours, 0, 256);
    SDL_Rect area{0, y0, w, y1 - y0};
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_BlitSurface(indexed, &area, surface, &area);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    SDL_FreeSurface(indexed);
}

void ConvertRows(const FrameCopy& frame, SDL_Surface* surface, int w, int y0, int y1) {
    if (surface->format->BytesPerPixel == 4) Convert32(frame, surface, w, y0, y1);
    else ConvertOther(frame, surface, w, y0, y1);
}

bool SamePicture(const FrameCopy& a, const FrameCopy& b) {
    return a.width == b.width && a.height == b.height && a.pitch == b.pitch &&
           a.palette.count == b.palette.count &&
           std::memcmp(a.palette.colours, b.palette.colours, sizeof a.palette.colours) == 0;
}

bool RowDiffers(const FrameCopy& a, const FrameCopy& b, int y, int w) {
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y) * a.pitch;
    return std::memcmp(a.pixels.data() + at, b.pixels.data() + at, static_cast<std::size_t>(w)) != 0;
}

}  // namespace

void ConvertFrame(const FrameCopy& frame, SDL_Surface* surface) {
    if (frame.pixels.empty() || !surface || !surface->pixels) return;
    ConvertRows(frame, surface, std::min(frame.width, surface->w), 0, std::min(frame.height, surface->h));
}

std::vector<SDL_Rect> ConvertChangedRows(const FrameCopy& frame, const FrameCopy* shown,
                                         SDL_Surface* surface) {
    std::vector<SDL_Rect> bands;
    if (frame.pixels.empty() || !surface || !surface->pixels) return bands;
    const int w = std::min(frame.width, surface->w);
    const int h = std::min(frame.height, surface->h);
    const bool all = !shown || shown->pixels.size() != frame.pixels.size() || !SamePicture(frame, *shown);
    // Bands a few unchanged rows apart go as one: fewer, larger updates.
    constexpr int kJoinGap = 16;
    auto changed = [&](int y) { return all || RowDiffers(frame, *shown, y, w); };
    int y = 0;
    while (y < h) {
        if (!changed(y)) {
            ++y;
            continue;
        }
        const int first = y;
        int end = y + 1;
        for (int next = end; next < h && next < end + kJoinGap; ++next)
            if (changed(next)) end = next + 1;
        ConvertRows(frame, surface, w, first, end);
        bands.push_back(SDL_Rect{0, first, w, end - first});
        y = end;
    }
    return bands;
}

}  // namespace Graph::detail
