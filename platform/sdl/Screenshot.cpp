// Saving a screenshot: the folder from the environment and the desktop's
// user-dirs.dirs, a name no earlier picture has (claimed with O_EXCL, so that
// two pictures taken in one second, or two programs, never share a file),
// and the PNG written by the rasteriser's writer. A failure is one line on
// standard error: the game goes on.
#include "platform/sdl/Screenshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "platform/console/NamedFiles.h"
#include "platform/console/QuotedText.h"
#include "platform/graph/raster/PngWriter.h"
#include "platform/sdl/ScreenshotFiles.h"

namespace Graph {

namespace {

// The desktop's user-dirs.dirs, a few lines, opened as every named file is:
// a FIFO or a folder in its place must not hold up the game, nor a device
// that never ends.
std::string TextOf(const std::string& path) {
    constexpr std::size_t kLargest = 64 * 1024;
    if (path.empty()) return {};
    std::string why;
    std::FILE* file = IO::OpenNamedStream(path, IO::FileUse::Read, why);
    if (file == nullptr) return {};
    std::string text;
    char block[4096];
    for (std::size_t n; text.size() < kLargest && (n = std::fread(block, 1, sizeof block, file)) > 0;)
        text.append(block, n);
    std::fclose(file);
    return text;
}

bool IsFolder(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Any file of that name, a dangling link included, takes the name.
bool NameTaken(const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

std::string PicturesFolder() {
    Screenshots::FolderSources sources;
    const char* home = std::getenv("HOME");
    sources.home = home ? home : "";
    sources.userDirsText = TextOf(Screenshots::UserDirsPath(std::getenv("XDG_CONFIG_HOME"), home));
    sources.homePicturesExists = !sources.home.empty() && IsFolder(sources.home + "/Pictures");
    return Screenshots::ChooseFolder(sources);
}

void SayCannot(const std::string& where, const char* why) {
    std::fprintf(stderr, "kyr: cannot save a screenshot in %s: %s\n", IO::QuotedText(where, '"').c_str(), why);
}

// A new file of a free name in `folder`, open for writing; nullptr when the
// folder cannot take one (said on standard error).
std::FILE* CreateFreeFile(const std::string& folder, const std::tm& when, std::string& path) {
    // Another program may take the free name first: then the next one.
    constexpr int kTries = 8;
    for (int k = 0; k < kTries; ++k) {
        path = Screenshots::FreePath(folder, when, NameTaken);
        if (path.empty()) break;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (std::FILE* file = fdopen(fd, "wb")) return file;
            const int error = errno;
            close(fd);
            unlink(path.c_str());
            SayCannot(folder, std::strerror(error));
            return nullptr;
        }
        if (errno != EEXIST) {
            SayCannot(folder, std::strerror(errno));
            return nullptr;
        }
    }
    SayCannot(folder, "every name for this second is taken");
    return nullptr;
}

}  // namespace

std::string SaveScreenshot(const PublishedFrame& frame) {
    const Pixels& pixels = frame.pixels;
    if (pixels.data.empty() || pixels.width < 2 || pixels.height < 2) {
        std::fprintf(stderr, "kyr: no picture shown yet; no screenshot saved\n");
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm when{};
    localtime_r(&now, &when);
    const std::string folder = PicturesFolder();
    std::string path;
    std::FILE* file = CreateFreeFile(folder, when, path);
    if (!file) return {};
    // The writer only reads the pixels.
    Raster::Surface shown{const_cast<uint8_t*>(pixels.data.data()), pixels.width - 1, pixels.height - 1, pixels.pitch};
    errno = 0;
    const bool written = Raster::WritePng(file, shown, frame.palette.colours,
                                          static_cast<int>(std::min<uint32_t>(frame.palette.count, 256)));
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        unlink(path.c_str());
        const int error = !written ? writeError : closeError;
        std::fprintf(stderr, "kyr: cannot save a screenshot to %s: %s\n", IO::QuotedText(path, '"').c_str(),
                     error ? std::strerror(error) : "the picture could not be written");
        return {};
    }
    std::fprintf(stderr, "kyr: screenshot saved to %s\n", IO::QuotedText(path, '"').c_str());
    return path;
}

}  // namespace Graph
