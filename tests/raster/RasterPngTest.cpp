// PNG snapshots: written files read back with libpng show every pixel in its
// palette colour; unwritable paths are reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/graph/raster/PngWriter.h"
#include "tests/raster/RasterTestCanvas.h"
#include "tests/support/PngFiles.h"
#include "tests/support/TempFiles.h"

namespace {

using Decoded = testsupport::DecodedPng;
using testsupport::ReadPng;

std::string TempPath(const char* name) {
    return testsupport::FreshFolder("raster-") + "/" + name + ".png";
}

}  // namespace

TEST(RasterPng, RoundTripKeepsEveryPixelsColour) {
    const uint32_t palette[16] = {0x000000, 0x0000B0, 0x00B000, 0x008080, 0xB00000, 0x800080, 0xB06000, 0xC0C0C0,
                                  0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    Canvas c(37, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x) c.pixels[static_cast<size_t>(y * 37 + x)] = static_cast<uint8_t>((x + 3 * y) % 20);
    Raster::Surface view = c.View(2, 1, 30, 9);  // rows narrower than the pitch
    const std::string path = TempPath("raster_roundtrip");
    ASSERT_TRUE(Raster::WritePngFile(path.c_str(), view, palette, 16));
    Decoded d;
    ASSERT_TRUE(ReadPng(path, d));
    std::remove(path.c_str());
    ASSERT_EQ(d.width, 30);
    ASSERT_EQ(d.height, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 30; ++x) {
            const uint8_t index = c.At(x + 2, y + 1);
            const uint32_t expected = index < 16 ? palette[index] : 0;  // beyond the palette: black
            ASSERT_EQ(d.rgb[static_cast<size_t>(y * 30 + x)], expected) << x << "," << y;
        }
}

TEST(RasterPng, UnwritablePathsAndEmptySurfacesAreReportedAsFailures) {
    Canvas c(4, 4);
    const uint32_t palette[1] = {0xFFFFFF};
    EXPECT_FALSE(Raster::WritePngFile("/nonexistent-dir/x.png", c.surface, palette, 1));
    Raster::Surface empty;
    const std::string path = TempPath("raster_empty");
    EXPECT_FALSE(Raster::WritePngFile(path.c_str(), empty, palette, 1));
    std::remove(path.c_str());
}
