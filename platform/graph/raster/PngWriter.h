// Writes a palette-index surface as a PNG image in the palette's colours.
#pragma once
#include <cstdint>
#include "platform/graph/raster/Raster.h"

namespace Raster {

// `palette` holds `count` colours as 0xRRGGBB; indices beyond it are written black.
// Returns false when the file cannot be written.
bool WritePngFile(const char* path, const Surface& surface, const uint32_t* palette, int count);

}  // namespace Raster
