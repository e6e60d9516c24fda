// The test programs' temporary files: every fresh folder lies in the
// program's own folder, which goes when the program ends, also after a
// failed test; a killed program's folder goes with the next program; a
// forked child never takes its parent's; and tmp-check, run around the
// suite, reports and removes what is left.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/TempFiles.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FreshFolder;
using testsupport::ProgramTempFolder;

// This program again, as a child test program with TMPDIR=`tmpdir` that
// ends as `ending` says (see HarnessMain.cpp); its status, 128 + n after signal n.
int RunChildProgram(const std::string& ending, const std::string& tmpdir) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        setenv("KYR_HARNESS_CHILD", ending.c_str(), 1);
        setenv("TMPDIR", tmpdir.c_str(), 1);
        unsetenv("TEST_TMPDIR");
        execl("/proc/self/exe", "test_harness", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

TEST(TempFiles, FreshFoldersAreNewAndEmptyInsideTheProgramsOwnFolder) {
    const std::string a = FreshFolder("one-"), b = FreshFolder("one-");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    for (const std::string& folder : {a, b}) {
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_EQ(fs::path(folder).parent_path(), fs::path(ProgramTempFolder()));
    }
    EXPECT_EQ(fs::path(ProgramTempFolder()).parent_path(), fs::path(testing::TempDir()).parent_path());
    EXPECT_FALSE(testsupport::tempfiles::OwnerIsGone(ProgramTempFolder())) << "this program holds its folder";
}

TEST(TempFiles, AProgramThatEndsAfterAFailedTestLeavesNothing) {
    const std::string tmpdir = FreshFolder("tmpdir-");
    EXPECT_EQ(RunChildProgram("fails", tmpdir), 1);
    EXPECT_EQ(Entries(tmpdir), std::vector<std::string>{});
}

TEST(TempFiles, AKilledProgramsFolderGoesWithTheNextProgram) {
    const std::string tmpdir = FreshFolder("tmpdir-");
    EXPECT_EQ(RunChildProgram("killed", tmpdir), 128 + SIGKILL);
    ASSERT_EQ(Entries(tmpdir).size(), 1u) << "the killed program's folder";
    EXPECT_EQ(RunChildProgram("fails", tmpdir), 1);
    EXPECT_EQ(Entries(tmpdir), std::vector<std::string>{});
}

TEST(TempFiles, AForkedChildThatEndsNormallyLeavesItsParentsFolder) {
    const std::string mine = FreshFolder("kept-");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) std::exit(0);  // runs the static destructors, the folder's too
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(fs::is_directory(mine));
}

// Which folders the sweep of a temporary directory removes: a test
// program's whose owner lock nobody holds, and nothing else.
TEST(TempFiles, TheSweepRemovesOnlyFoldersWhoseOwnerIsGone) {
    const std::string tmpdir = FreshFolder("sweep-");
    const struct {
        const char* name;
        bool ownerFile, locked, removed;
    } cases[] = {
        {"kyr-tests-gone", true, false, true},
        {"kyr-tests-alive", true, true, false},
        {"kyr-tests-being-made", false, false, false},
        {"someone-elses", true, false, false},
    };
    std::vector<int> locks;
    for (const auto& c : cases) {
        fs::create_directories(tmpdir + "/" + c.name + "/work");
        if (!c.ownerFile) continue;
        const int fd = open((tmpdir + "/" + c.name + "/.owner").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (c.locked) {
            ASSERT_EQ(flock(fd, LOCK_EX), 0);
        }
        locks.push_back(fd);
    }
    testsupport::tempfiles::RemoveOrphanedProgramFolders(tmpdir);
    for (const auto& c : cases) EXPECT_EQ(!fs::exists(tmpdir + "/" + c.name), c.removed) << c.name;
    for (const int fd : locks) close(fd);
}

// tmp-check finish fails on anything left in the folder, names it, and
// removes it, so that the next run starts clean.
TEST(TmpCheck, ReportsAndRemovesWhatIsLeftBehind) {
    const std::string folder = FreshFolder("private-") + "/tmp", state = FreshFolder("state-") + "/orphans.txt";
    const std::string report = fs::path(state).parent_path() / "report.txt";
    const auto check = [&](const char* step) {
        const int raw = std::system(("'" KYR_TMP_CHECK_PATH "' " + std::string(step) + " '" + folder + "' '" + state +
                                     "' >'" + report + "'").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    ASSERT_EQ(check("start"), 0);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(check("finish"), 0);
    EXPECT_EQ(testsupport::ReadFile(report), "tmp-check: the tests left nothing behind\n");

    fs::create_directories(folder + "/kyr-tests-x/kyr-run-y");
    std::ofstream(folder + "/kyr-tests-x/kyr-run-y/err.txt") << "12345";
    EXPECT_EQ(check("finish"), 1);
    const std::string said = testsupport::ReadFile(report);
    EXPECT_NE(said.find("left behind: " + folder + "/kyr-tests-x/kyr-run-y/err.txt (5 bytes)"), std::string::npos)
        << said;
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
