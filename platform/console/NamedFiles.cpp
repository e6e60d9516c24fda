// Opening the files the player names (see NamedFiles.h).
#include "platform/console/NamedFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace IO {
namespace {

std::string KindProblem(mode_t mode) {
    if (S_ISREG(mode) || S_ISCHR(mode)) return "";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe), not a file";
    if (S_ISSOCK(mode)) return "a socket, not a file";
    if (S_ISDIR(mode)) return "a folder, not a file";
    if (S_ISBLK(mode)) return "a block device, not a file";
    return "not a file";
}

int Flags(FileUse use) {
    switch (use) {
    case FileUse::Read: return O_RDONLY;
    case FileUse::Write: return O_WRONLY | O_CREAT | O_TRUNC;
    case FileUse::Append: return O_WRONLY | O_CREAT | O_APPEND;
    }
    return O_RDONLY;
}

}  // namespace

bool IsOwnStream(std::string_view path) {
    return path == "/dev/stdin" || path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
           path.starts_with("/proc/self/fd/");
}

std::string NamedFileProblem(const std::string& path, FileUse use) {
    if (path.empty()) return "no file name given";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT && use != FileUse::Read) return "";  // to be made; open says if the folder is missing
        return std::strerror(errno);
    }
    if (IsOwnStream(path)) return "";
    return KindProblem(info.st_mode);
}

int OpenNamedFile(const std::string& path, FileUse use, std::string& why) {
    why = NamedFileProblem(path, use);
    if (!why.empty()) return -1;
    // Non-blocking while it opens, in case the name has become a FIFO since it
    // was looked at: the open then returns at once, and the kind is checked again.
    const int fd = open(path.c_str(), Flags(use) | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        why = std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        why = std::strerror(errno);
        close(fd);
        return -1;
    }
    if (!IsOwnStream(path)) why = KindProblem(info.st_mode);
    if (!why.empty()) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::FILE* OpenNamedStream(const std::string& path, FileUse use, std::string& why) {
    const int fd = OpenNamedFile(path, use, why);
    if (fd < 0) return nullptr;
    const char* mode = use == FileUse::Read ? "rb" : use == FileUse::Write ? "wb" : "ab";
    std::FILE* file = fdopen(fd, mode);
    if (file == nullptr) {
        why = std::strerror(errno);
        close(fd);
    }
    return file;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace IO
