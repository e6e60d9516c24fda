// Pictures compared pixel for pixel: PNG files read and written as RGBA with
// libpng, the pixels that differ counted and bounded, and a picture that
// shows them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Golden {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgba;   // 0xRRGGBBAA, row by row
};

bool ReadPicture(const std::string& path, Picture& out);
bool WritePicture(const std::string& path, const Picture& picture);

struct PictureDifference {
    long pixels = 0;                       // pixels whose RGBA differs
    int left = 0, top = 0, right = 0, bottom = 0;   // their bounding box, inclusive
    bool sizes = false;                    // the sizes differ (no pixel compared)
};

PictureDifference Compare(const Picture& want, const Picture& got);

// `got` dimmed to a quarter, with the pixels that differ from `want` in red.
Picture DifferencePicture(const Picture& want, const Picture& got);

}  // namespace Golden
