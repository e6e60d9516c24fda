#include "tools/golden/GoldenPicture.h"

#include <algorithm>
#include <png.h>

namespace Golden {

bool ReadPicture(const std::string& path, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return false;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.clear();
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
        out.rgba.push_back(uint32_t{bytes[i]} << 24 | uint32_t{bytes[i + 1]} << 16 | uint32_t{bytes[i + 2]} << 8 |
                           bytes[i + 3]);
    return true;
}

bool WritePicture(const std::string& path, const Picture& picture) {
    std::vector<png_byte> bytes;
    for (uint32_t p : picture.rgba)
        for (int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<png_byte>(p >> shift));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

PictureDifference Compare(const Picture& want, const Picture& got) {
    PictureDifference d;
    if (want.width != got.width || want.height != got.height) {
        d.sizes = true;
        return d;
    }
    for (int y = 0; y < got.height; ++y) {
        for (int x = 0; x < got.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(got.width) + static_cast<std::size_t>(x);
            if (want.rgba[i] == got.rgba[i]) continue;
            if (d.pixels++ == 0) {
                d.left = d.right = x;
                d.top = d.bottom = y;
            }
            d.left = std::min(d.left, x);
            d.right = std::max(d.right, x);
            d.bottom = y;
        }
    }
    return d;
}

Picture DifferencePicture(const Picture& want, const Picture& got) {
    Picture out = got;
    const bool sameSize = want.width == got.width && want.height == got.height;
    for (std::size_t i = 0; i < out.rgba.size(); ++i) {
        if (sameSize && want.rgba[i] != got.rgba[i]) {
            out.rgba[i] = 0xFF0000FFu;
        } else {
            out.rgba[i] = (got.rgba[i] >> 2 & 0x3F3F3F00u) | 0xFFu;
        }
    }
    return out;
}

}  // namespace Golden
