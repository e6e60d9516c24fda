// kyr-headless and the files it is given: what is not a file (a FIFO, even
// one whose writer never writes; a socket; a folder) and empty names are
// refused before the run starts, with one line and status 2, never hanging;
// a killed run leaves its recording under its partial name, replayable to
// status 3; a replay cut short by the time limit, or by an end line that
// cannot be reached (either way), ends with status 3 and says where it stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/console/QuotedText.h"
#include "tests/headless/HeadlessRun.h"

namespace {

using HeadlessRun::Result;
using HeadlessRun::RunHeadlessWith;
using testsupport::ReadFile;

// A run that got past the refusal ends at 2 s of virtual time; one that
// hangs on a file fails at the test's own time limit.
Result RunBounded(const std::string& arguments) { return RunHeadlessWith("--until 2000 " + arguments); }

std::string Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

class FileSafetyTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::FreshFolder("kyr-files-");
        ASSERT_FALSE(dir_.empty());
        ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
        ASSERT_EQ(mkfifo(Path("silent-fifo").c_str(), 0600), 0);
        // A writer that holds the FIFO open and never writes: a read would
        // wait for it for ever.
        silentWriter_ = open(Path("silent-fifo").c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(silentWriter_, 0);
        ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
        ASSERT_TRUE(testsupport::MakeSocketFile(Path("socket")));
    }
    void TearDown() override {
        if (silentWriter_ >= 0) close(silentWriter_);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
    int silentWriter_ = -1;
};

TEST_F(FileSafetyTest, WhatIsNotAFileIsRefusedBeforeTheRunStarts) {
    const struct {
        const char* name;
        const char* why;
    } kinds[] = {{"fifo", "a FIFO (named pipe), not a file"},
                 {"silent-fifo", "a FIFO (named pipe), not a file"},
                 {"socket", "a socket, not a file"},
                 {"folder", "a folder, not a file"}};
    for (const auto& [name, why] : kinds) {
        const std::string quoted = IO::QuotedText(Path(name), '"') + ": " + why + "\n";
        const std::string script = Write(Path("script.txt"), std::string("at 0 trace ") + Path(name) + "\n");
        const std::string snap = Write(Path("snap.txt"), std::string("at 10 snap ") + Path(name) + "\n");
        const struct {
            std::string arguments, said;
        } uses[] = {
            {"--replay " + Path(name), "kyr-headless: cannot read recording " + quoted},
            {"--record " + Path(name), "kyr-headless: cannot create recording " + quoted},
            {"--script " + Path(name), "kyr-headless: cannot read script " + quoted},
            {"--script " + script, "kyr-headless: script line 1: cannot open trace file " + quoted},
            {"--script " + snap, "kyr-headless: script line 1: cannot write snapshot " + quoted},
        };
        for (const auto& [arguments, said] : uses) {
            const Result r = RunBounded(arguments);
            EXPECT_EQ(r.status, 2) << arguments;
            EXPECT_EQ(r.err, said) << arguments;
        }
    }
}

TEST_F(FileSafetyTest, EmptyFileNamesAreRefused) {
    for (const char* option : {"--replay", "--record", "--script"}) {
        const Result r = RunBounded(std::string(option) + " ''");
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_EQ(r.err.rfind(std::string("kyr-headless: empty file name after ") + option + "\n", 0), 0u) << r.err;
        EXPECT_EQ(r.out, "") << option;
    }
}

// Killed outright, a run cannot rename its recording: it stays under the
// partial name, the target is untouched, and the partial file replays to
// where it was cut off.
TEST_F(FileSafetyTest, AKilledRunLeavesItsPartialRecordingReplayable) {
    const std::string target = Write(Path("game.kyrrec"), "precious\n");
    const std::string script = Write(Path("long.txt"), "at 1000 key x\nat 3600000 end\n");
    const pid_t child = fork();
    if (child == 0) {
        execl(KYR_HEADLESS_PATH, "kyr-headless", "--script", script.c_str(), "--record", target.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    const std::string partial = target + "." + std::to_string(child) + ".partial";
    // Killed once the recording holds a poll's key: well into the run.
    bool running = false;
    for (int waited = 0; waited < 600 && !running; ++waited) {
        running = ReadFile(partial).find(" key ") != std::string::npos;
        if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(running) << "the recording never took a key";
    EXPECT_EQ(ReadFile(target), "precious\n");
    const Result replay = RunHeadlessWith("--replay " + partial);
    EXPECT_EQ(replay.status, 3) << replay.err;
    EXPECT_NE(replay.err.find("kyr-headless: the recording ends before"), std::string::npos) << replay.err;
}

// Written beside the file and renamed over it: through a link the file it
// leads to is replaced and the link stays; a stream of the program's own is
// written in place (there is nothing to rename over).
TEST_F(FileSafetyTest, ARecordingFollowsLinksAndWritesOwnStreamsInPlace) {
    ASSERT_EQ(mkdir(Path("saves").c_str(), 0700), 0);
    Write(Path("saves/game.kyrrec"), "old\n");
    ASSERT_EQ(symlink("saves/game.kyrrec", Path("link.kyrrec").c_str()), 0);
    const Result linked = RunHeadlessWith("--until 100 --record " + Path("link.kyrrec"));
    EXPECT_EQ(linked.status, 0) << linked.err;
    struct stat info {};
    ASSERT_EQ(lstat(Path("link.kyrrec").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(ReadFile(Path("saves/game.kyrrec")).rfind("kyr-recording 1\n", 0), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("saves")), {}), 1) << "a partial file was left";

    const Result streamed = RunHeadlessWith("--until 100 --record /dev/stdout");
    EXPECT_EQ(streamed.status, 0) << streamed.err;
    EXPECT_NE(streamed.out.find("kyr-recording 1\nprogram kyr-headless "), std::string::npos) << streamed.out;
}

TEST_F(FileSafetyTest, AReplayCutShortEndsWithStatusThreeAndSaysWhere) {
    const std::string recording = Path("menu.kyrrec");
    const Result recorded = RunHeadlessWith("--until 3000 --record " + recording);
    ASSERT_EQ(recorded.status, 0) << recorded.err;

    const Result cut = RunHeadlessWith("--until 1000 --replay " + recording);
    EXPECT_EQ(cut.status, 3);
    EXPECT_NE(cut.err.find("kyr-headless: the replay stopped at poll 0, "), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("before the recorded end (poll 0, "), std::string::npos) << cut.err;

    // An end line that claims the program ended by itself where it never
    // would: the run is cut off at the time limit short of it.
    std::string text = ReadFile(recording);
    text = text.substr(0, text.rfind("end ")) + "end exit 0 poll 5 requests 0\n";
    const Result lying = RunHeadlessWith("--until 5000 --replay " + Write(Path("lying.kyrrec"), text));
    EXPECT_EQ(lying.status, 3);
    EXPECT_NE(lying.err.find("before the recorded end (poll 5, 0 drawing requests)"), std::string::npos)
        << lying.err;

    const Result whole = RunHeadlessWith("--replay " + recording);
    EXPECT_EQ(whole.status, 0) << whole.err;

    // A game that ended by itself at poll 7676, said to have ended earlier:
    // the program goes on past the end the file names.
    std::string game = ReadFile(KYR_LEVEL1_RECORDING);
    const std::size_t end = game.rfind("end exit 0 poll 7676 ");
    ASSERT_NE(end, std::string::npos);
    game.replace(end, 20, "end exit 0 poll 7665");
    const Result early = RunHeadlessWith("--replay " + Write(Path("early.kyrrec"), game));
    EXPECT_EQ(early.status, 3);
    EXPECT_EQ(early.err, "kyr-headless: the recording says the program ended by itself at poll 7665, but it goes on\n");
}

}  // namespace
