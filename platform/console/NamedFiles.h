// Files the player names (recordings, traces, scripts, snapshots): opened so
// that no name can hang the program or feed it something that is not a file.
// A regular file or a character device (/dev/null, a terminal) is used; a
// FIFO, a socket, a folder or a block device is refused before anything is
// read or written, and opening never blocks. The program's own standard
// streams (/dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N) are used whatever
// they are, since they are already open: `... --trace /dev/stdout | less` works.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace IO {

enum class FileUse {
    Read,     // must exist
    Write,    // created, or emptied when it exists
    Append,   // created, or added to when it exists
};

// An open file descriptor (close-on-exec, blocking) or -1 with `why` set to
// the reason alone: the system's ("No such file or directory", "Permission
// denied") or the kind refused ("a FIFO (named pipe), not a file").
int OpenNamedFile(const std::string& path, FileUse use, std::string& why);

// The same as a stdio stream ("rb", "wb" or "ab"); nullptr with `why` set.
std::FILE* OpenNamedStream(const std::string& path, FileUse use, std::string& why);

// Why `path` cannot be used the way given, without opening it; empty when it
// can (as far as can be told: a file to be written may not exist yet).
std::string NamedFileProblem(const std::string& path, FileUse use);

// True for the names of the program's own standard streams (/dev/stdin,
// /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N).
bool IsOwnStream(std::string_view path);

// True when both names lead to the same existing file (the same device and
// inode, links and different spellings of the path included).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace IO
