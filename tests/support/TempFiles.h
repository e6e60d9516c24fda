// Files for tests that run a program as a child process: a fresh folder of
// its own, and a whole file read back.
//
// Every fresh folder lies in one folder of the test program's own,
// kyr-tests-XXXXXX under the test's temporary directory (TMPDIR, or /tmp),
// which is removed with all in it when the program ends: after passing and
// failing tests alike. A program killed before it could (a crash, a
// time-out's SIGKILL) leaves its folder behind, and the next test program
// removes it: each holds a lock on its folder's .owner file while it lives,
// so a folder whose lock can be taken belongs to nobody.
#pragma once
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace tempfiles {

constexpr const char* kProgramFolderPrefix = "kyr-tests-";
constexpr const char* kOwnerFile = ".owner";

// True when the folder's owner file exists and nobody holds its lock. A
// folder without one is still being made, or not a test program's.
inline bool OwnerIsGone(const std::filesystem::path& folder) {
    const int fd = open((folder / kOwnerFile).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool gone = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return gone;
}

// Removes the folders in `parent` left by test programs that were killed.
inline void RemoveOrphanedProgramFolders(const std::string& parent) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path folder = it->path();
        if (folder.filename().string().rfind(kProgramFolderPrefix, 0) == 0 && OwnerIsGone(folder)) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
}

// Takes the lock on the folder's owner file for as long as the returned
// descriptor stays open (not across exec: the programs a test starts do not
// hold it). The file is locked before it gets the name others look for.
inline int HoldOwnerLock(const std::string& folder) {
    const std::string unnamed = folder + "/.owner-new";
    const int fd = open(unnamed.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX) != 0 || rename(unnamed.c_str(), (folder + "/" + kOwnerFile).c_str()) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class ProgramFolder {
public:
    ProgramFolder() {
        const std::string parent = testing::TempDir();
        RemoveOrphanedProgramFolders(parent);
        std::string pattern = parent + kProgramFolderPrefix + "XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        lock_ = HoldOwnerLock(path_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // Only in the process that made it: a forked child that ends normally
    // runs this too, and must leave its parent's files alone.
    ~ProgramFolder() {
        if (path_.empty() || getpid() != owner_) return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        if (lock_ >= 0) close(lock_);
    }

    const std::string& Path() const { return path_; }

private:
    pid_t owner_ = getpid();
    std::string path_;
    int lock_ = -1;
};

}  // namespace tempfiles

// This test program's own folder, made on first use; empty if it could not be.
inline const std::string& ProgramTempFolder() {
    static const tempfiles::ProgramFolder folder;
    return folder.Path();
}

// A new, empty folder whose name begins with `prefix`, inside the program's
// own folder; empty when none could be made.
inline std::string FreshFolder(const std::string& prefix) {
    if (ProgramTempFolder().empty()) return "";
    std::string pattern = ProgramTempFolder() + "/" + prefix + "XXXXXX";
    const char* made = mkdtemp(pattern.data());
    return made != nullptr ? pattern : std::string();
}

// A socket file at `path`, bound and closed, as a name that is not a file;
// false when it could not be made.
inline bool MakeSocketFile(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return bound;
}

}  // namespace testsupport
