// The X display files tests leave behind: Stop removes the socket file of an
// Xvfb that had to be killed and the claim on its number, and claiming a number for a stand-in display
// clears an orphaned lock and socket but never a live one.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/DisplayFiles.h"
#include "tests/support/XvfbServer.h"

namespace {

using namespace testsupport;

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// A socket file whose listener is gone, as a killed server leaves it.
void MakeDeadSocketFile(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    listen(fd, 1);
    close(fd);
}

void WriteLock(int n, pid_t owner) {
    std::FILE* f = std::fopen(DisplayLock(n).c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%10d\n", int(owner));
    std::fclose(f);
}

pid_t AProcessThatIsGone() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// A number with no files at all, far above those of real servers.
int UnusedNumber() {
    for (int n = 900; n < 1000; ++n)
        if (!Exists(DisplayLock(n)) && !Exists(DisplaySocket(n))) return n;
    return -1;
}

TEST(DisplayFiles, StopRemovesTheSocketFileOfAKilledXvfbAndGivesTheNumberBack) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.Start("320x200x24"));
    const int n = std::atoi(server.Display().c_str() + 1);
    EXPECT_EQ(LockOwner(DisplayLock(n)), getpid()) << "the number is claimed while the server runs";
    kill(server.Pid(), SIGKILL);
    EXPECT_TRUE(Exists(DisplaySocket(n))) << "a killed server cannot remove its socket file";
    server.Stop();
    EXPECT_FALSE(Exists(DisplaySocket(n)));
    EXPECT_FALSE(Exists(DisplayLock(n)));
}

TEST(DisplayFiles, ClaimingANumberClearsOnlyOrphanedFiles) {
    mkdir("/tmp/.X11-unix", 01777);
    const pid_t alive = getpid(), gone = AProcessThatIsGone();
    const struct {
        const char* what;
        pid_t lockOwner;  // 0: no lock
        bool deadSocket, claimed, socketRemoved;
    } cases[] = {
        {"nothing there", 0, false, true, false},
        {"a killed server's socket file, no lock", 0, true, true, true},
        {"a lock and socket of a process that is gone", gone, true, true, true},
        {"a live display's lock", alive, false, false, false},
        {"a live stand-in's lock over a dead socket file", alive, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int n = UnusedNumber();
        ASSERT_GE(n, 0) << "no free display number";
        if (c.deadSocket) {
            ASSERT_NO_FATAL_FAILURE(MakeDeadSocketFile(DisplaySocket(n)));
        }
        if (c.lockOwner != 0) {
            ASSERT_NO_FATAL_FAILURE(WriteLock(n, c.lockOwner));
        }
        EXPECT_EQ(ClaimDisplayNumber(n), c.claimed);
        EXPECT_EQ(LockOwner(DisplayLock(n)), c.claimed ? getpid() : c.lockOwner);
        EXPECT_EQ(c.deadSocket && !Exists(DisplaySocket(n)), c.socketRemoved);
        unlink(DisplaySocket(n).c_str());
        unlink(DisplayLock(n).c_str());
    }
}

}  // namespace
