// The web build has no PNG writer (no libpng there): a picture asked for
// fails with ENOSYS, which its caller reports as "Function not implemented".
#include <cerrno>

#include "platform/graph/raster/PngWriter.h"

namespace Raster {

bool WritePng(std::FILE* file, const Surface& surface, const uint32_t* palette, int count) {
    (void)file, (void)surface, (void)palette, (void)count;
    errno = ENOSYS;
    return false;
}

bool WritePngFile(const char* path, const Surface& surface, const uint32_t* palette, int count) {
    (void)path, (void)surface, (void)palette, (void)count;
    errno = ENOSYS;
    return false;
}

}  // namespace Raster
