// The real program under Xvfb in a pseudo-terminal: keys typed into the
// terminal and into the window move the highlight (seen on screenshots),
// garbage and bursts of keys do no harm, Close ends with status 0 and the
// terminal restored; without a display the program says so and fails.
// These runs take real time (intro and credits), so there are only two.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "tests/support/TempFiles.h"
#include "tests/support/TimeLimits.h"
#include "tests/support/XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Sanitizer builds: leaks inside the system libraries behind the window are
// not the program's; the suppressions name them.
std::string LeakOptions() { return "LSAN_OPTIONS=suppressions=" KYR_LSAN_SUPPRESSIONS ":print_suppressions=0"; }

bool Installed(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

using testsupport::ReadFile;

// Which menu entry is drawn in the highlight colour on a screenshot of the
// whole screen (the window sits at 1, 1 without a window manager); 0 when
// the menu is not (yet) there, -1 when more than one entry is highlighted.
int HighlightedEntry(const std::string& display, const std::string& folder) {
    std::string shot = folder + "/shot.ppm";
    std::string command = "import -display " + display + " -window root -depth 8 ppm:" + shot + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return 0;
    std::string data = ReadFile(shot);
    std::istringstream header(data);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    header >> magic >> width >> height >> maximum;
    std::size_t start = std::size_t(header.tellg()) + 1;
    if (magic != "P6" || maximum != 255 || data.size() < start + std::size_t(width) * height * 3) return 0;
    auto rgb = [&](int x, int y) {
        std::size_t at = start + (std::size_t(y) * width + x) * 3;
        return (unsigned(uint8_t(data[at])) << 16) | (unsigned(uint8_t(data[at + 1])) << 8) | uint8_t(data[at + 2]);
    };
    int found = 0, magentaEntries = 0;
    for (int entry = 1; entry <= 9; ++entry) {
        int cyan = 0, magenta = 0;
        for (int y = 181 + 20 * entry; y < 195 + 20 * entry && y < height; ++y) {
            for (int x = 101; x < 260 && x < width; ++x) {
                unsigned c = rgb(x, y);
                cyan += c == 0x008080;
                magenta += c == 0x800080;
            }
        }
        if (cyan > 0) found = found == 0 ? entry : -1;
        if (magenta > 0) ++magentaEntries;
    }
    return magentaEntries == 8 ? found : 0;
}

// Waits for `wanted`; `limit` is a ceiling for a stuck program, scaled to the machine's load.
int WaitForHighlight(const std::string& display, const std::string& folder, int wanted, std::chrono::seconds limit) {
    int seen = 0;
    const auto end = Clock::now() + testsupport::ScaledToLoad(limit);
    for (; Clock::now() < end; std::this_thread::sleep_for(500ms)) {
        seen = HighlightedEntry(display, folder);
        if (seen == wanted) break;
    }
    return seen;
}

// Keeps reading the terminal's output so that the program never blocks on it.
void Drain(int master, std::string& out) {
    char buffer[4096];
    pollfd p{master, POLLIN, 0};
    while (poll(&p, 1, 0) > 0) {
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        out.append(buffer, std::size_t(n));
    }
}

// Waits until the program has switched the terminal to raw keys (the
// terminal's settings are visible from the master side), so that what is
// typed next is read as keys and not edited as a line.
bool WaitForRawKeys(int master, std::chrono::seconds limit) {
    const auto end = Clock::now() + testsupport::ScaledToLoad(limit);
    for (; Clock::now() < end; std::this_thread::sleep_for(20ms)) {
        termios mode{};
        if (tcgetattr(master, &mode) == 0 && (mode.c_lflag & ICANON) == 0) return true;
    }
    return false;
}

void Type(int master, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(master, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
}

// Bytes that must not move the highlight: unknown and cut-off escape
// sequences, high bytes, harmless control characters and a burst of
// thousands of letters. No blanks, no arrow keys, no signal characters, and
// none of the letters H K M P that could complete a lone first half as an arrow.
std::string Garbage() {
    std::string g = "\x1b[99~\x1b[1;2;3;4;5;6;7;8;9;10X\x1b[\x1b[\x1bOz\x1b[?25h";
    for (int c = 0x80; c <= 0xFF; ++c) g += char(c);
    for (char c : std::string("\x01\x02\x04\x05\x06\x07\x08\x09\x0b\x0c\x0e\x10\x14\x18\x19\x1d\x1e\x1f")) g += c;
    g += std::string(3000, 'x');
    g += "\x1b";  // a lone Esc at the very end
    return g;
}

TEST(EndToEndTest, TerminalAndWindowKeysDriveTheMenuAndCloseRestoresTheTerminal) {
    for (const char* tool : {"Xvfb", "xdotool", "import", "stty"}) {
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    testsupport::XvfbServer server;
    ASSERT_TRUE(server.Start("1100x800x24"));
    const std::string& display = server.Display();
    std::string folder = testsupport::FreshFolder("kyr-e2e-");

    int master = -1;
    pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string script = "cd '" + folder + "' && stty -g > before.txt && DISPLAY=" + display +
                             " " + LeakOptions() + " '" KYR_PATH "'; echo $? > status.txt; stty -g > after.txt";
        execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string out;
    ASSERT_TRUE(WaitForRawKeys(master, 60s));
    Type(master, Garbage());  // typed during the intro: waits in the queue

    // The intro plays first (about half a minute); then the menu takes the
    // garbage key by key and the highlight stays on entry 1.
    EXPECT_EQ(WaitForHighlight(display, folder, 1, 120s), 1);
    Drain(master, out);
    Type(master, "\x1b[B");  // DOWN typed into the terminal
    EXPECT_EQ(WaitForHighlight(display, folder, 2, 60s), 2);

    std::string keyToWindow = "DISPLAY=" + display +
                              " xdotool search --name '^Graph$' windowfocus key Down >/dev/null 2>&1";
    EXPECT_EQ(std::system(keyToWindow.c_str()), 0);
    EXPECT_EQ(WaitForHighlight(display, folder, 3, 30s), 3);

    Type(master, "\x1b[A\x1b[A\x1b[A");  // UP three times: wraps from 1 to 9
    EXPECT_EQ(WaitForHighlight(display, folder, 9, 30s), 9);
    Type(master, " ");  // Close: the credits play, then the program ends

    int status = -1;
    const auto end = Clock::now() + testsupport::ScaledToLoad(150s);
    for (; Clock::now() < end; std::this_thread::sleep_for(200ms)) {
        Drain(master, out);
        if (waitpid(child, &status, WNOHANG) == child) break;
        status = -1;
    }
    if (status == -1) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        FAIL() << "the program did not end after Close";
    }
    close(master);
    EXPECT_EQ(ReadFile(folder + "/status.txt"), "0\n");
    EXPECT_NE(ReadFile(folder + "/before.txt"), "");
    EXPECT_EQ(ReadFile(folder + "/after.txt"), ReadFile(folder + "/before.txt"));
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
}

TEST(EndToEndTest, WithoutADisplayTheProgramSaysSoAndFails) {
    std::string folder = testsupport::FreshFolder("kyr-e2e-");
    std::string command = "cd '" + folder +
                          "' && env -u DISPLAY -u WAYLAND_DISPLAY " + LeakOptions() + " timeout 20 '" KYR_PATH
                          "' </dev/null >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_EQ(ReadFile(folder + "/out.txt"),
              "[ERROR] !!!QUIT ALL APPLICATIONS AND RUN AWAY: YOUR PC IS ABOUT TO EXPLODE!!! [ERROR]\n");
}

}  // namespace
