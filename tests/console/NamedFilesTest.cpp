// Opening the files a player names: every kind of file that could hang the
// program or pass for an empty file is refused before anything is read or
// written, with the reason; regular files, devices and the program's own
// standard streams are used.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/console/NamedFiles.h"
#include "tests/support/TempFiles.h"

namespace {

using IO::FileUse;

class NamedFilesTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::FreshFolder("named-files-");
        ASSERT_FALSE(dir_.empty());
        ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
        ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
        std::ofstream(Path("file")) << "kept";
        ASSERT_TRUE(testsupport::MakeSocketFile(Path("socket")));
    }
    std::string Path(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
};

// A FIFO with no writer would block a read for ever, and one with no reader
// a write; a folder reads as nothing. None of them is opened, for any use.
TEST_F(NamedFilesTest, WhatIsNotAFileIsRefusedForEveryUseWithoutBlocking) {
    const struct {
        const char* name;
        const char* why;
    } refused[] = {{"fifo", "a FIFO (named pipe), not a file"},
                   {"socket", "a socket, not a file"},
                   {"folder", "a folder, not a file"}};
    for (const auto& [name, why] : refused) {
        for (FileUse use : {FileUse::Read, FileUse::Write, FileUse::Append}) {
            std::string said;
            EXPECT_EQ(IO::OpenNamedFile(Path(name), use, said), -1) << name;
            EXPECT_EQ(said, why) << name;
            EXPECT_EQ(IO::OpenNamedStream(Path(name), use, said), nullptr) << name;
        }
    }
    std::string said;
    EXPECT_EQ(IO::OpenNamedFile("/dev/loop0", FileUse::Read, said), -1);
    EXPECT_TRUE(said == "a block device, not a file" || said == "No such file or directory") << said;
}

TEST_F(NamedFilesTest, MissingFilesAndFoldersGiveTheSystemsReason) {
    EXPECT_EQ(IO::NamedFileProblem(Path("none"), FileUse::Read), "No such file or directory");
    EXPECT_EQ(IO::NamedFileProblem(Path("none"), FileUse::Write), "");   // to be made
    EXPECT_EQ(IO::NamedFileProblem(Path("none/x"), FileUse::Read), "No such file or directory");
    EXPECT_EQ(IO::NamedFileProblem(Path("file/x"), FileUse::Write), "Not a directory");
    EXPECT_EQ(IO::NamedFileProblem("", FileUse::Write), "no file name given");
    std::string said;
    EXPECT_EQ(IO::OpenNamedFile(Path("none/x"), FileUse::Write, said), -1);
    EXPECT_EQ(said, "No such file or directory");
    if (geteuid() != 0) {   // root reads whatever the mode says
        ASSERT_EQ(chmod(Path("file").c_str(), 0), 0);
        EXPECT_EQ(IO::OpenNamedFile(Path("file"), FileUse::Read, said), -1);
        EXPECT_EQ(said, "Permission denied");
    }
}

// Files and devices open, blocking as usual; writing empties a file, appending keeps it.
TEST_F(NamedFilesTest, FilesDevicesAndOwnStreamsAreUsed) {
    std::string said;
    std::FILE* appended = IO::OpenNamedStream(Path("file"), FileUse::Append, said);
    ASSERT_NE(appended, nullptr) << said;
    std::fputs("+more", appended);
    std::fclose(appended);
    EXPECT_EQ(testsupport::ReadFile(Path("file")), "kept+more");
    for (const char* name : {"/dev/null", "/dev/stdout", "/dev/stderr"}) {
        const int fd = IO::OpenNamedFile(name, FileUse::Write, said);
        EXPECT_GE(fd, 0) << name << ": " << said;
        if (fd >= 0) {
            EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << name;
            close(fd);
        }
    }
    // The program's own standard input is used even when it is a pipe.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const std::string ownEnd = "/dev/fd/" + std::to_string(pipeFds[0]);
    const int fd = IO::OpenNamedFile(ownEnd, FileUse::Read, said);
    EXPECT_GE(fd, 0) << said;
    for (int open : {fd, pipeFds[0], pipeFds[1]}) close(open);
}

TEST_F(NamedFilesTest, SameFileSeesThroughLinksAndSpellings) {
    ASSERT_EQ(symlink(Path("file").c_str(), Path("link").c_str()), 0);
    EXPECT_TRUE(IO::SameFile(Path("file"), Path("link")));
    EXPECT_TRUE(IO::SameFile(Path("file"), dir_ + "/./folder/../file"));
    EXPECT_FALSE(IO::SameFile(Path("file"), Path("fifo")));
    EXPECT_FALSE(IO::SameFile(Path("none"), Path("none")));   // nothing there to be the same
}

}  // namespace
