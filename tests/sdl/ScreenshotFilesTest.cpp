// Where F12's screenshots go and what they are called, without a display:
// the pictures folder read from user-dirs.dirs texts as the desktop writes
// them (and as players edit them), the fallbacks when it names none, and
// names that never overwrite a picture taken earlier in the same second.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/sdl/Screenshot.h"
#include "platform/sdl/ScreenshotFiles.h"
#include "tests/support/TempFiles.h"

namespace {

using namespace Graph::Screenshots;

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// What xdg-user-dirs-update writes.
constexpr const char* kDesktopFile =
    "# This file is written by xdg-user-dirs-update\n"
    "# If you want to change or add directories, just edit the line you're\n"
    "# interested in. All local changes will be retained on the next run.\n"
    "# Format is XDG_xxx_DIR=\"$HOME/yyy\", where yyy is a shell-escaped\n"
    "# homedir-relative path, or XDG_xxx_DIR=\"/yyy\", where /yyy is an\n"
    "# absolute path. No other format is supported.\n"
    "# \n"
    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
    "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
    "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
    "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";

// A FIFO where user-dirs.dirs should be is not waited on: the picture goes
// to ~/Pictures as when there is no such file.
TEST(ScreenshotSaving, AFifoForTheDesktopsFolderListIsNotWaitedOn) {
    const std::string home = testsupport::FreshFolder("home-");
    const std::string config = home + "/.config";
    ASSERT_EQ(mkdir(config.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((home + "/Pictures").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo((config + "/user-dirs.dirs").c_str(), 0600), 0);
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    Graph::PublishedFrame frame;
    frame.pixels.Allocate(5, 4);
    frame.palette.count = 1;
    const std::string path = Graph::SaveScreenshot(frame);
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
    else unsetenv("HOME");
    EXPECT_EQ(path.rfind(home + "/Pictures/kyr-", 0), 0u) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

}  // namespace

TEST(ScreenshotFolder, UserDirsPathFollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(UserDirsPath("/etc/xdg-alt", "/home/ann"), "/etc/xdg-alt/user-dirs.dirs");
    EXPECT_EQ(UserDirsPath(nullptr, "/home/ann"), "/home/ann/.config/user-dirs.dirs");
    // Empty or relative is as if unset, as the desktop's own tools take it.
    EXPECT_EQ(UserDirsPath("", "/home/ann"), "/home/ann/.config/user-dirs.dirs");
    EXPECT_EQ(UserDirsPath("config", "/home/ann"), "/home/ann/.config/user-dirs.dirs");
    EXPECT_EQ(UserDirsPath(nullptr, nullptr), "");
    EXPECT_EQ(UserDirsPath(nullptr, ""), "");
}

TEST(ScreenshotFolder, PicturesLineOfTheDesktopsFileWithHomeExpanded) {
    EXPECT_EQ(PicturesDirFromUserDirs(kDesktopFile, "/home/ann"), "/home/ann/Bilder");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/srv/shots\"\n", "/home/ann"), "/srv/shots");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"${HOME}/Pics\"", "/home/ann"), "/home/ann/Pics");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME\"", "/home/ann"), "/home/ann");
}

TEST(ScreenshotFolder, PicturesLineAsPlayersEditIt) {
    const std::string home = "/home/ann";
    // Without quotes, indented, a comment after it, Windows line ends.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=$HOME/Shots # mine\n", home), "/home/ann/Shots");
    EXPECT_EQ(PicturesDirFromUserDirs("   XDG_PICTURES_DIR=\"$HOME/Shots\"\r\n", home), "/home/ann/Shots");
    // Shell escapes inside the quotes; blanks in the folder's name kept.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/My \\\"Best\\\" Shots\"", home),
              "/home/ann/My \"Best\" Shots");
    // The last line wins, as when the shell reads the file.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", home), "/b");
}

TEST(ScreenshotFolder, LinesThatNameNoPicturesFolder) {
    const std::string home = "/home/ann";
    EXPECT_EQ(PicturesDirFromUserDirs("", home), "");
    EXPECT_EQ(PicturesDirFromUserDirs("# XDG_PICTURES_DIR=\"$HOME/Old\"\n", home), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIRS=\"/x\"\nMY_XDG_PICTURES_DIR=\"/y\"\n", home), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"\"\n", home), "");
    // Neither absolute nor under $HOME: the file's format has no such folder.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"Pictures\"\n", home), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOMEWORK/x\"\n", home), "");
    // $HOME with no HOME to put there.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", ""), "");
    // A later line naming nothing usable leaves the earlier folder.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"rel\"\n", home), "/a");
}

TEST(ScreenshotFolder, FallsBackToHomePicturesThenTheCurrentFolder) {
    EXPECT_EQ(ChooseFolder({"/home/ann", kDesktopFile, true}), "/home/ann/Bilder");
    EXPECT_EQ(ChooseFolder({"/home/ann", kDesktopFile, false}), "/home/ann/Bilder");
    EXPECT_EQ(ChooseFolder({"/home/ann", "", true}), "/home/ann/Pictures");
    EXPECT_EQ(ChooseFolder({"/home/ann", "XDG_VIDEOS_DIR=\"$HOME/V\"\n", true}), "/home/ann/Pictures");
    EXPECT_EQ(ChooseFolder({"/home/ann", "", false}), ".");
    EXPECT_EQ(ChooseFolder({"", "", true}), ".");
    EXPECT_EQ(ChooseFolder({"", "XDG_PICTURES_DIR=\"/srv/shots\"\n", false}), "/srv/shots");
}

TEST(ScreenshotName, DateAndTimeWithZerosAndACountAfterTheFirst) {
    EXPECT_EQ(FileName(At(2026, 12, 8, 14, 3, 27), 1), "kyr-2026-12-08-14-03-27.png");
    EXPECT_EQ(FileName(At(2026, 1, 31, 0, 0, 0), 1), "kyr-2026-01-31-00-00-00.png");
    EXPECT_EQ(FileName(At(2026, 12, 8, 14, 3, 27), 2), "kyr-2026-12-08-14-03-27-2.png");
    EXPECT_EQ(FileName(At(2026, 12, 8, 14, 3, 27), 12), "kyr-2026-12-08-14-03-27-12.png");
}

TEST(ScreenshotName, AnotherPictureInTheSameSecondGetsTheNextFreeName) {
    const std::tm when = At(2026, 12, 8, 14, 3, 27);
    std::set<std::string> folder;
    auto taken = [&](const std::string& path) { return folder.count(path) > 0; };
    for (int k = 0; k < 4; ++k) {
        const std::string path = FreePath("/p", when, taken);
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(folder.insert(path).second) << path << " given twice";
    }
    EXPECT_EQ(folder, (std::set<std::string>{"/p/kyr-2026-12-08-14-03-27.png", "/p/kyr-2026-12-08-14-03-27-2.png",
                                             "/p/kyr-2026-12-08-14-03-27-3.png", "/p/kyr-2026-12-08-14-03-27-4.png"}));
    // A gap left by a picture removed is filled first.
    folder.erase("/p/kyr-2026-12-08-14-03-27-2.png");
    EXPECT_EQ(FreePath("/p", when, taken), "/p/kyr-2026-12-08-14-03-27-2.png");
    // A new second starts again without a count.
    EXPECT_EQ(FreePath("/p", At(2026, 12, 8, 14, 3, 28), taken), "/p/kyr-2026-12-08-14-03-28.png");
}

TEST(ScreenshotName, FolderJoinedWithOneSlashAndAFullFolderGivesNone) {
    const std::tm when = At(2026, 12, 8, 14, 3, 27);
    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(FreePath(".", when, none), "./kyr-2026-12-08-14-03-27.png");
    EXPECT_EQ(FreePath("/p/", when, none), "/p/kyr-2026-12-08-14-03-27.png");
    EXPECT_EQ(FreePath("/", when, none), "/kyr-2026-12-08-14-03-27.png");
    EXPECT_EQ(FreePath("/p", when, [](const std::string&) { return true; }, 5), "");
}
