// Writes a palette-index surface as a PNG image in the palette's colours.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/graph/raster/Raster.h"

namespace Raster {

// `palette` holds `count` colours as 0xRRGGBB; indices beyond it are written black.
// Returns false when the file cannot be written.
bool WritePngFile(const char* path, const Surface& surface, const uint32_t* palette, int count);
// The same into a file already open for writing, which stays open (flushed).
bool WritePng(std::FILE* file, const Surface& surface, const uint32_t* palette, int count);

}  // namespace Raster
