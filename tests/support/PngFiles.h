// PNG files read back with libpng, whatever their kind, as 0xRRGGBB pixels
// (link PNG::PNG).
#pragma once
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct DecodedPng {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB per pixel, row by row
    uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// False when the file is missing or not a PNG.
inline bool ReadPng(const std::string& path, DecodedPng& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return false;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.clear();
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3)
        out.rgb.push_back(uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return true;
}

}  // namespace testsupport
