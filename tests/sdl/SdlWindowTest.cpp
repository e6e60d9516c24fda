// The SDL window on a private Xvfb server, bare and under a real window
// manager (openbox): the screen shows the frames the program published and
// nothing else, repaints the last one, passes typed keys on (but not the
// fullscreen keys, nor F12, which saves the frame shown), turns a close
// into an end request, scales by whole
// pixels, fills a fullscreen display centred on black, and draws the same
// picture through a hardware renderer (or in software where there is no
// OpenGL); without a display Graph::Init fails promptly with its message.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/console/InputQueue.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/QuotedText.h"
#include "platform/console/Waits.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/graph/FramePixels.h"
#include "tests/graph/SurfaceProbes.h"
#include "tests/support/PngFiles.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TimeLimits.h"
#include "tests/support/WindowManager.h"
#include "tests/support/XvfbServer.h"

using namespace graphtest;
using testsupport::WindowManager;
using testsupport::XvfbServer;
using namespace std::chrono_literals;

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

// Polls `done` until it holds or `limit` (scaled to the machine's load)
// passed; for waiting on other processes (the X server, the window
// manager), not for judging speed. Meanwhile the window's events are
// pumped, as the program's waits do.
template <class F>
bool Eventually(F done, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(limit);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        Waits::Pump(50);
    }
    return done();
}

std::string GraphWindowId() {
    std::string id = Shell("xdotool search --name '^Graph$' 2>/dev/null | head -n1");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

// A window's client area in screen coordinates, as the X server has it.
struct Area {
    int x = -1, y = -1, w = 0, h = 0;
    bool viewable = false;
};

Area ClientArea(const std::string& id) {
    Area a;
    const std::string out = Shell("xwininfo -id " + id + " 2>/dev/null");
    auto number = [&](const char* label, int& value) {
        const auto at = out.find(label);
        if (at != std::string::npos) std::sscanf(out.c_str() + at + std::strlen(label), "%d", &value);
    };
    number("Absolute upper-left X:", a.x);
    number("Absolute upper-left Y:", a.y);
    number("Width:", a.w);
    number("Height:", a.h);
    a.viewable = out.find("IsViewable") != std::string::npos;
    return a;
}

// The frame a window manager put around the window: left, right, top, bottom.
std::vector<int> FrameExtents(const std::string& id) {
    std::vector<int> e(4, 0);
    const std::string out = Shell("xprop -id " + id + " _NET_FRAME_EXTENTS 2>/dev/null");
    const auto at = out.find('=');
    if (at != std::string::npos) std::sscanf(out.c_str() + at + 1, "%d, %d, %d, %d", &e[0], &e[1], &e[2], &e[3]);
    return e;
}

// The whole screen as RGB bytes, taken by an outside tool.
struct Shot {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    bool Taken() const { return w > 0 && rgb.size() == static_cast<std::size_t>(w) * h * 3; }
    uint32_t At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * w + x) * 3;
        return (uint32_t{rgb[at]} << 16) | (uint32_t{rgb[at + 1]} << 8) | rgb[at + 2];
    }
};

Shot Screenshot(int w, int h) {
    static const std::string path = testsupport::FreshFolder("shots-") + "/screen.rgb";
    Shell("import -window root -depth 8 rgb:" + path + " 2>/dev/null");
    std::ifstream in(path, std::ios::binary);
    Shot shot{w, h, std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>())};
    std::remove(path.c_str());
    return shot;
}

// The back buffer at one moment: palette indices and their colours.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> index;
    uint32_t colour[256] = {};
    uint32_t At(int x, int y) const { return colour[index[static_cast<std::size_t>(y) * w + x]]; }
};

Picture BackBufferNow() {
    const auto& sv = Graph::detail::TheService();
    Picture p;
    p.w = sv.back.width;
    p.h = sv.back.height;
    p.index = Packed(sv.back);
    for (int i = 0; i < 256; ++i) p.colour[i] = sv.backPalette.RGB(static_cast<uint8_t>(i));
    return p;
}

// Pixels of the picture's top-left `cols` x `rows` that the screen does not
// show as `scale` x `scale` blocks from (x0, y0); -1 without a screenshot.
int Mismatches(const Shot& shot, const Picture& picture, int x0, int y0, int cols, int rows, int scale = 1) {
    if (!shot.Taken()) return -1;
    int bad = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const uint32_t want = picture.At(x, y);
            bool same = x0 + (x + 1) * scale <= shot.w && y0 + (y + 1) * scale <= shot.h;
            for (int k = 0; same && k < scale * scale; ++k)
                same = shot.At(x0 + x * scale + k % scale, y0 + y * scale + k / scale) == want;
            bad += !same;
        }
    return bad;
}

// Screen pixels outside the area that are not black.
int LitOutside(const Shot& shot, int x0, int y0, int w, int h) {
    int lit = 0;
    for (int y = 0; y < shot.h; ++y)
        for (int x = 0; x < shot.w; ++x)
            if ((x < x0 || x >= x0 + w || y < y0 || y >= y0 + h) && shot.At(x, y) != 0) ++lit;
    return lit;
}

void DrawTestPicture() {
    for (uint32_t c = 0; c < 16; ++c) Graph::Rectangle(20 + c * 40, 20, 58 + c * 40, 120, c, true);
    Graph::Disc(500, 400, 150, Kleuren::LIGHTCYAN);
    for (uint32_t i = 0; i < 50; ++i) Graph::Line(0, i * 14, 1024, 729 - i * 14, i % 16);
    Graph::RawOutText(300, 300, Kleuren::LIGHTYELLOW, "THE GRAPH WINDOW");
}

// One frame as the game draws it: a clear, then the picture piece by piece;
// both squares have the frame's colour. Fewer `pieces` stop part-way.
void DrawFrame(uint32_t colour, int pieces = 3) {
    Graph::Rectangle(0, 0, 1025, 730, Kleuren::BLACK, true);
    if (pieces >= 1) Graph::Rectangle(100, 100, 200, 200, colour, true);
    if (pieces >= 2)
        for (uint32_t i = 0; i < 400; ++i) Graph::Line(300, i, 500, 729 - i, i % 16);
    if (pieces >= 3) Graph::Rectangle(700, 100, 800, 200, colour, true);
}

// F12's pictures go, for as long as this lives, to `folder`: named by a
// user-dirs.dirs of the test's own, as the desktop names the player's.
class PicturesFolder {
public:
    explicit PicturesFolder(const std::string& folder) : folder_(folder) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old, hadOld_ = true;
        const std::string config = testsupport::FreshFolder("config-");
        std::ofstream(config + "/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                  << "XDG_PICTURES_DIR=\"" << folder << "\"\n";
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    ~PicturesFolder() {
        if (hadOld_) setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    // The files in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
            files.push_back(it->path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

private:
    std::string folder_, old_;
    bool hadOld_ = false;
};

// Pixels of the PNG that differ from the published frame's columns
// 0..1023 and rows 0..728 in its palette; -1 when it is not a 1024 x 729 PNG.
int DifferencesFromTheFrameShown(const std::string& path) {
    testsupport::DecodedPng png;
    if (!testsupport::ReadPng(path, png) || png.width != 1024 || png.height != 729) return -1;
    const Graph::PublishedFrame& frame = Graph::WindowSurface();
    int differ = 0;
    for (int y = 0; y < 729; ++y)
        for (int x = 0; x < 1024; ++x) differ += png.At(x, y) != frame.palette.RGB(frame.pixels.Row(y)[x]);
    return differ;
}

// Xvfb with one screen, optionally openbox on it, and Graph's SDL window
// opened at the program's place (1, 1, 1025 x 730).
class WindowOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    }
    void TearDown() override {
        if (opened_) Graph::ModuleExit();
        wm_.Stop();
        server_.Stop();
    }

    void Open(const char* screen, bool managed, const Graph::SdlWindowOptions& options = {}) {
        ASSERT_EQ(std::sscanf(screen, "%dx%d", &screenW_, &screenH_), 2);
        ASSERT_TRUE(server_.Start(screen));
        setenv("DISPLAY", server_.Display().c_str(), 1);
        if (managed) {
            ASSERT_TRUE(wm_.Start(server_.Display()));
        }
        managed_ = managed;
        Graph::UseSdlWindow(options);
        Graph::ModuleInit();
        opened_ = true;
        testing::internal::CaptureStderr();
        const bool ok = Graph::Init(1, 1, 1025, 730);
        initMessages_ = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(ok) << initMessages_;
        ASSERT_TRUE(Eventually([&] { return !(id_ = GraphWindowId()).empty(); }));
        ASSERT_TRUE(Locate());
    }

    // Finds the client area once the window is shown and stands still (a
    // window manager frames and moves it after it appears).
    bool Locate() {
        Area last;
        return Eventually([&] {
            const Area now = ClientArea(id_);
            const bool settled = now.viewable && now.x == last.x && now.y == last.y && now.w == last.w && now.h == last.h;
            last = now;
            client_ = now;
            return settled;
        });
    }

    Shot Shoot() const { return Screenshot(screenW_, screenH_); }

    // Whether the client area comes to show (what fits of) the picture. The
    // area is looked up each time: a window manager may still be moving the
    // window (openbox animates a restore) after it seemed to stand still.
    bool ClientShows(const Picture& p) {
        return Eventually([&] {
            if (const Area now = ClientArea(id_); now.viewable) client_ = now;
            mismatches_ = Mismatches(Shoot(), p, client_.x, client_.y, std::min(client_.w, p.w), std::min(client_.h, p.h));
            return mismatches_ == 0;
        });
    }

    // Whether the screen comes to show the picture's columns 0..1023 and
    // rows 0..728 at `scale`, centred, black around: the fullscreen picture.
    bool ScreenShowsCentred(const Picture& p, int scale) {
        const int w = 1024 * scale, h = 729 * scale;
        const int x0 = (screenW_ - w) / 2, y0 = (screenH_ - h) / 2;
        return Eventually([&] {
            const Shot shot = Shoot();
            mismatches_ = Mismatches(shot, p, x0, y0, 1024, 729, scale);
            if (mismatches_ == 0) mismatches_ = LitOutside(shot, x0, y0, w, h);
            return mismatches_ == 0;
        });
    }

    // Closes the window as a player does: openbox's Alt+F4 sends the close
    // request as its close button does; on a bare server, SDL's quit. Any thread.
    void AskToClose() {
        if (managed_) {
            Shell("xdotool windowactivate --sync " + id_ + " && xdotool key alt+F4");
        } else {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    }

    // Asks to close, and again every few seconds until `answered` holds (at
    // most ten times): under load openbox can miss an Alt+F4 typed while it
    // is busy with the window, and asking again does no harm. Any thread;
    // does not pump the window's events.
    void AskToCloseUntil(const std::function<bool()>& answered) {
        for (int asked = 0; asked < 10 && !answered(); ++asked) {
            AskToClose();
            const auto again = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(3s);
            while (!answered() && std::chrono::steady_clock::now() < again) std::this_thread::sleep_for(20ms);
        }
    }

    // Keys typed into the window by the X server's test extension.
    void Type(const std::string& keys) {
        const std::string focus = managed_ ? "xdotool windowactivate --sync " : "xdotool windowfocus --sync ";
        Shell(focus + id_ + " && xdotool key --clearmodifiers " + keys);
    }


    // Types `keys` (ending with c) and collects the key records the program
    // gets and what was said on standard error until c's key-up arrives.
    std::vector<IO::KeyRecord> TypeAndCollect(const std::string& keys, std::string& said) {
        IO::ClearInput();
        std::vector<IO::KeyRecord> got;
        testing::internal::CaptureStderr();
        Type(keys);
        Eventually([&] {
            IO::InputEvent e;
            while (IO::PopInput(e))
                if (e.isKey) got.push_back(e.key);
            return std::any_of(got.begin(), got.end(), [](const IO::KeyRecord& k) { return k.virtualKeyCode == 0x43 && !k.keyDown; });
        });
        said = testing::internal::GetCapturedStderr();
        return got;
    }

    XvfbServer server_;
    WindowManager wm_;
    bool opened_ = false, managed_ = false;
    int screenW_ = 0, screenH_ = 0;
    std::string id_, initMessages_;
    Area client_;
    int mismatches_ = 0;
};

// The plain window, on a bare X server and framed by openbox.
enum class Desktop { Bare, Openbox };

void PrintTo(Desktop d, std::ostream* out) { *out << (d == Desktop::Bare ? "bare Xvfb" : "openbox"); }

class SdlWindowTest : public WindowOnX, public ::testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override {
        WindowOnX::SetUp();
        if (IsSkipped()) return;
        const bool managed = GetParam() == Desktop::Openbox;
        if (managed && !WindowManager::Installed()) GTEST_SKIP() << "openbox is not installed";
        ASSERT_NO_FATAL_FAILURE(Open("1280x1024x24", managed));
    }
};

// Scaled windows on a bare X server.
class SdlWindowScaled : public WindowOnX {};

// Fullscreen needs a window manager to carry out the request: these run under openbox.
class SdlWindowUnderOpenbox : public WindowOnX {
protected:
    void SetUp() override {
        WindowOnX::SetUp();
        if (!IsSkipped() && !WindowManager::Installed()) GTEST_SKIP() << "openbox is not installed";
    }
};

}  // namespace

TEST_P(SdlWindowTest, ShowsThePublishedBackBufferAtItsPlace) {
    if (!managed_) {
        // No frame: the client area is the asked place and size.
        EXPECT_EQ(client_.x, 1);
        EXPECT_EQ(client_.y, 1);
        EXPECT_EQ(client_.w, 1025);
        EXPECT_EQ(client_.h, 730);
    } else {
        // The frame included, the window covers the asked place and size.
        const std::vector<int> f = FrameExtents(id_);
        EXPECT_GT(f[0] + f[1] + f[2] + f[3], 0) << "openbox drew no frame";
        EXPECT_EQ(client_.x - f[0], 1);
        EXPECT_EQ(client_.y - f[2], 1);
        EXPECT_EQ(client_.w + f[0] + f[1], 1025);
        EXPECT_EQ(client_.h + f[2] + f[3], 730);
    }
    EXPECT_NE(Shell("xprop -id " + id_ + " _NET_WM_STATE").find("_NET_WM_STATE_ABOVE"), std::string::npos);
    const Picture black = BackBufferNow();
    EXPECT_TRUE(ClientShows(black)) << mismatches_;

    // Drawn but not published: the screen keeps the previous frame.
    DrawTestPicture();
    const Picture drawn = BackBufferNow();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Mismatches(Shoot(), black, client_.x, client_.y, client_.w, client_.h), 0);
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(drawn)) << mismatches_;

    // A small change, then a whole new frame after a clear.
    Graph::RawOutText(600, 600, Kleuren::LIGHTRED, "SCORE 10");
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
    Graph::Rectangle(0, 0, 1025, 730, Kleuren::BLACK, true);
    Graph::Disc(200, 200, 60, Kleuren::GREEN);
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
}

// Frames drawn and published as the game does: whenever the screen is
// looked at, it shows one whole published frame, never a frame in the making.
TEST_P(SdlWindowTest, ShowsOnlyWholePublishedFrames) {
    std::vector<Picture> frames;   // frame k has the squares in colour k + 1
    for (uint32_t colour = 1; colour <= 15; ++colour) {
        DrawFrame(colour);
        frames.push_back(BackBufferNow());
    }
    std::atomic<bool> done{false};
    std::vector<Shot> shots;
    std::thread camera([&] {
        while (Graph::FramesPublished() < 3) std::this_thread::sleep_for(1ms);
        for (int i = 0; i < 6; ++i) shots.push_back(Shoot());
        done = true;
    });
    for (uint32_t frame = 0; !done; ++frame) {
        DrawFrame(1 + frame % 15);
        Graph::PublishFrame();
    }
    camera.join();
    std::set<int> seen;
    for (std::size_t i = 0; i < shots.size(); ++i) {
        int match = -1;
        for (std::size_t k = 0; k < frames.size() && match < 0; ++k)
            if (Mismatches(shots[i], frames[k], client_.x, client_.y, std::min(client_.w, 1025),
                           std::min(client_.h, 730)) == 0)
                match = static_cast<int>(k);
        EXPECT_GE(match, 0) << "shot " << i << " shows no whole frame";
        if (match >= 0) seen.insert(match);
    }
    EXPECT_GT(seen.size(), 1u) << "the screen did not follow the frames";
}

// A caller stopped mid-frame (by the machine or a long computation) has
// published nothing new: the screen keeps the previous frame however long.
TEST_P(SdlWindowTest, KeepsThePreviousFrameWhileTheCallerStallsMidFrame) {
    DrawFrame(Kleuren::LIGHTGREEN);
    Graph::PublishFrame();
    const Picture previous = BackBufferNow();
    ASSERT_TRUE(ClientShows(previous)) << mismatches_;
    DrawFrame(Kleuren::LIGHTRED, 2);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(Mismatches(Shoot(), previous, client_.x, client_.y, client_.w, client_.h), 0);
    DrawFrame(Kleuren::LIGHTRED, 3);
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
}

// Hidden (unmapped; minimised under a window manager) and shown again, the
// window paints the last published frame: also one published while hidden,
// never drawing published after it.
TEST_P(SdlWindowTest, RepaintShowsTheLastPublishedFrame) {
    DrawTestPicture();
    Graph::PublishFrame();
    ASSERT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
    Shell((managed_ ? "xdotool windowminimize --sync " : "xdotool windowunmap --sync ") + id_);
    Graph::Rectangle(100, 500, 400, 700, Kleuren::RED, true);
    Graph::RawOutText(120, 520, Kleuren::BRIGHTWHITE, "hidden");
    Graph::PublishFrame();
    const Picture published = BackBufferNow();
    Graph::Rectangle(0, 0, 1025, 730, Kleuren::BLACK, true);   // the next frame, unpublished
    Shell((managed_ ? "xdotool windowactivate --sync " : "xdotool windowmap --sync ") + id_);
    ASSERT_TRUE(Locate());
    EXPECT_TRUE(ClientShows(published)) << mismatches_;
}

TEST_P(SdlWindowTest, KeysTypedIntoTheWindowReachTheInputQueue) {
    IO::ClearInput();
    Type("a Up shift+b");
    std::vector<IO::KeyRecord> keys;
    Eventually([&] {
        IO::InputEvent e;
        while (IO::PopInput(e))
            if (e.isKey) keys.push_back(e.key);
        return keys.size() >= 8;   // a, Up, Shift, b: down and up each
    });
    auto find = [&](uint16_t vk, bool down) -> const IO::KeyRecord* {
        for (const auto& k : keys)
            if (k.virtualKeyCode == vk && k.keyDown == down) return &k;
        return nullptr;
    };
    const IO::KeyRecord* a = find(0x41, true);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->asciiChar, 'a');
    ASSERT_NE(find(0x41, false), nullptr);
    const IO::KeyRecord* up = find(0x26, true);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->controlKeyState & IO::ENHANCED_KEY, IO::ENHANCED_KEY);
    EXPECT_EQ(up->virtualScanCode, 0x48);
    const IO::KeyRecord* shift = find(0x10, true);
    ASSERT_NE(shift, nullptr);
    EXPECT_NE(shift->controlKeyState & IO::SHIFT_PRESSED, 0u);
    const IO::KeyRecord* b = find(0x42, true);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->asciiChar, 'B');
}

// Alt+Enter and F11 switch fullscreen and go no further; Enter alone and
// the keys after them do.
TEST_P(SdlWindowTest, FullscreenKeysDoNotReachTheInputQueue) {
    IO::ClearInput();
    Type("Return alt+Return F11 c");
    std::vector<IO::KeyRecord> keys;
    auto has = [&](uint16_t vk, bool down) {
        return std::any_of(keys.begin(), keys.end(), [&](const IO::KeyRecord& k) { return k.virtualKeyCode == vk && k.keyDown == down; });
    };
    ASSERT_TRUE(Eventually([&] {
        IO::InputEvent e;
        while (IO::PopInput(e))
            if (e.isKey) keys.push_back(e.key);
        return has(0x43, false);   // c released: everything typed has arrived
    }));
    const auto enters = std::count_if(keys.begin(), keys.end(), [](const IO::KeyRecord& k) { return k.virtualKeyCode == 0x0D; });
    EXPECT_EQ(enters, 2) << "Enter down and up once; Alt+Enter not at all";
    EXPECT_FALSE(has(0x7A, true) || has(0x7A, false)) << "F11 reached the input queue";
    EXPECT_TRUE(has(0x12, true)) << "Alt itself still reaches it";
}

// F12 saves the frame shown as a PNG and goes no further: neither its
// key-down nor its key-up reaches the program. A second picture in the same
// second does not overwrite the first.
TEST_P(SdlWindowTest, F12SavesTheFrameShownAndNeverReachesTheProgram) {
    const std::string folder = testsupport::FreshFolder("pictures-");
    PicturesFolder pictures(folder);
    DrawTestPicture();
    Graph::PublishFrame();
    std::string said;
    const std::vector<IO::KeyRecord> keys = TypeAndCollect("F12 F12 c", said);
    EXPECT_FALSE(std::any_of(keys.begin(), keys.end(), [](const IO::KeyRecord& k) { return k.virtualKeyCode == 0x7B; }))
        << "F12 reached the input queue";
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const IO::KeyRecord& k) { return k.virtualKeyCode == 0x43; }), 2)
        << "the key after F12 arrives, down and up";
    const std::vector<std::string> files = pictures.Files();
    ASSERT_EQ(files.size(), 2u) << said;
    for (const std::string& file : files) {
        EXPECT_EQ(file.rfind(folder + "/kyr-", 0), 0u) << file;
        EXPECT_EQ(DifferencesFromTheFrameShown(file), 0) << file;
        EXPECT_NE(said.find("kyr: screenshot saved to " + IO::QuotedText(file, '"') + "\n"), std::string::npos) << said;
    }
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
}

// Closing the window (SDL's quit; openbox's Alt+F4 sends the close request
// as its close button does) asks the program to end at its next wait; the
// window stays until then and drawing goes on.
TEST_P(SdlWindowTest, CloseAsksTheProgramToEndAndKeepsTheWindow) {
    Waits::ClearEndRequest();
    Waits::EndOfRun end;
    end.status = -1;
    std::atomic<bool> requested{false};
    std::thread closer([&] { AskToCloseUntil([&] { return requested.load(); }); });
    EXPECT_TRUE(Eventually([&] { return requested = Waits::EndRequested(&end); }));
    requested = true;
    closer.join();
    EXPECT_EQ(end.status, 0);
    EXPECT_EQ(end.cause, Waits::EndCause::Closed);
    Waits::ClearEndRequest();
    DrawTestPicture();
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
    EXPECT_EQ(GraphWindowId(), id_);
    EXPECT_TRUE(ClientArea(id_).viewable);
    EXPECT_EQ(Graph::PixelIndex(0, 0), Kleuren::BLACK);
}

// The program waits long (a show's delay, the game's announcement): a close
// asked for meanwhile ends the wait then, not when it would have ended.
TEST_P(SdlWindowTest, ACloseDuringALongDelayEndsItAtOnce) {
    Waits::ClearEndRequest();
    std::atomic<bool> delayOver{false};
    std::thread closer([&] {
        std::this_thread::sleep_for(300ms);
        AskToCloseUntil([&] { return delayOver.load(); });
    });
    const auto start = std::chrono::steady_clock::now();
    constexpr CARDINAL kDelayMs = 60000;
    bool ended = false;
    try {
        Lib::Delay(kDelayMs);
    } catch (const Waits::EndOfRun& end) {
        ended = true;
        EXPECT_EQ(end.cause, Waits::EndCause::Closed);
        EXPECT_EQ(end.status, 0);
    }
    delayOver = true;
    closer.join();
    Waits::ClearEndRequest();
    EXPECT_TRUE(ended);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kDelayMs))
        << "the close waited for the delay";
}

// Hidden and shown again while the program sits in a long delay, the window
// paints the last published frame then, from the delay's pump.
TEST_P(SdlWindowTest, AnExposeDuringALongDelayRepaintsTheLastFrame) {
    DrawTestPicture();
    Graph::PublishFrame();
    const Picture published = BackBufferNow();
    ASSERT_TRUE(ClientShows(published)) << mismatches_;
    Waits::ClearEndRequest();
    std::atomic<bool> repainted{false};
    std::thread other([&] {
        Shell((managed_ ? "xdotool windowminimize --sync " : "xdotool windowunmap --sync ") + id_);
        Shell((managed_ ? "xdotool windowactivate --sync " : "xdotool windowmap --sync ") + id_);
        for (int k = 0; k < 150 && !repainted; ++k) {
            const Area now = ClientArea(id_);
            repainted = now.viewable && Mismatches(Shoot(), published, now.x, now.y, std::min(now.w, 1025),
                                                   std::min(now.h, 730)) == 0;
            if (!repainted) std::this_thread::sleep_for(100ms);
        }
        Waits::RequestEnd(Waits::EndCause::Closed, 0);   // lets the delay go
    });
    try {
        Lib::Delay(60000);
    } catch (const Waits::EndOfRun&) {
    }
    other.join();
    Waits::ClearEndRequest();
    EXPECT_TRUE(repainted);
}

// RdKey waiting in the window's pump takes a key another thread posts (the
// terminal's reader does that) without waiting for the window's own events.
TEST_P(SdlWindowTest, AKeyFromAnotherThreadEndsRdKeysWait) {
    IO::ClearInput();
    IO::ModuleInit();
    std::thread terminal([] {
        std::this_thread::sleep_for(200ms);
        IO::InputEvent e;
        e.key = IO::KeyRecord{true, 1, 0x41, 0x1E, 'a', 0};
        IO::PostInput(e);
    });
    EXPECT_EQ(IO::RdKey(), 'a');
    terminal.join();
}

INSTANTIATE_TEST_SUITE_P(Desktop, SdlWindowTest, ::testing::Values(Desktop::Bare, Desktop::Openbox),
                         [](const auto& info) { return info.param == Desktop::Bare ? "Bare" : "Openbox"; });

// Each back-buffer pixel a 2 x 2 block; the window shows columns 0..1023
// and rows 0..728 (the area a full clear covers).
TEST_F(SdlWindowScaled, ScaleTwoShowsEveryPixelAsATwoByTwoBlock) {
    Graph::SdlWindowOptions options;
    options.scale = 2;
    ASSERT_NO_FATAL_FAILURE(Open("2560x1600x24", false, options));
    EXPECT_EQ(client_.w, 2048);
    EXPECT_EQ(client_.h, 1458);
    DrawTestPicture();
    Graph::PublishFrame();
    const Picture p = BackBufferNow();
    EXPECT_TRUE(Eventually([&] { return (mismatches_ = Mismatches(Shoot(), p, client_.x, client_.y, 1024, 729, 2)) == 0; }))
        << mismatches_;
}

// The picture is the frame's, one file pixel a frame pixel, whatever the
// window's scale.
TEST_F(SdlWindowScaled, F12SavesThePictureUnscaled) {
    Graph::SdlWindowOptions options;
    options.scale = 2;
    ASSERT_NO_FATAL_FAILURE(Open("2560x1600x24", false, options));
    const std::string folder = testsupport::FreshFolder("pictures-");
    PicturesFolder pictures(folder);
    DrawTestPicture();
    Graph::PublishFrame();
    std::string said;
    TypeAndCollect("F12 c", said);
    const std::vector<std::string> files = pictures.Files();
    ASSERT_EQ(files.size(), 1u) << said;
    EXPECT_EQ(DifferencesFromTheFrameShown(files[0]), 0);
}

// A pictures folder that cannot be written: one line with the system's
// reason, nothing left behind, and the window goes on taking keys and
// showing frames.
TEST_F(SdlWindowScaled, F12IntoAFolderThatCannotBeWrittenSaysWhyAndGoesOn) {
    ASSERT_NO_FATAL_FAILURE(Open("1280x1024x24", false));
    const std::string base = testsupport::FreshFolder("unwritable-");
    std::ofstream(base + "/file") << "not a folder\n";
    std::vector<std::pair<std::string, std::string>> folders = {
        {base + "/missing", "No such file or directory"},
        {base + "/file", "Not a directory"},
    };
    if (geteuid() != 0) {   // root writes into a read-only folder
        ASSERT_EQ(mkdir((base + "/read-only").c_str(), 0555), 0);
        folders.emplace_back(base + "/read-only", "Permission denied");
    }
    for (const auto& [folder, why] : folders) {
        SCOPED_TRACE(folder);
        PicturesFolder pictures(folder);
        std::string said;
        const std::vector<IO::KeyRecord> keys = TypeAndCollect("F12 c", said);
        EXPECT_EQ(said, "kyr: cannot save a screenshot in " + IO::QuotedText(folder, '"') + ": " + why + "\n");
        EXPECT_FALSE(std::any_of(keys.begin(), keys.end(), [](const IO::KeyRecord& k) { return k.virtualKeyCode == 0x7B; }));
        EXPECT_FALSE(Waits::EndRequested(nullptr));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(base), std::filesystem::directory_iterator()),
              geteuid() != 0 ? 2 : 1);
    DrawTestPicture();
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
}

// A scaled window too large for the screen opens at the largest whole scale
// that fits, with one warning; scale 1 (the program's own window, at its
// place) is the least, and a window that fits is left alone, without a word.
struct FitCase {
    const char* screen;
    int asked;
    int clientW, clientH;
    std::string warning;
};

void PrintTo(const FitCase& c, std::ostream* out) { *out << "scale " << c.asked << " on " << c.screen; }

class SdlWindowScaledToFit : public WindowOnX, public ::testing::WithParamInterface<FitCase> {};

TEST_P(SdlWindowScaledToFit, OpensAtTheLargestScaleThatFitsWithOneWarning) {
    Graph::SdlWindowOptions options;
    options.scale = GetParam().asked;
    ASSERT_NO_FATAL_FAILURE(Open(GetParam().screen, false, options));
    EXPECT_EQ(initMessages_, GetParam().warning);
    EXPECT_EQ(client_.w, GetParam().clientW);
    EXPECT_EQ(client_.h, GetParam().clientH);
    if (client_.w == 1025) {
        EXPECT_EQ(client_.x, 1);
        EXPECT_EQ(client_.y, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SdlWindowScaledToFit,
    ::testing::Values(
        FitCase{"800x600x24", 2, 1025, 730,
                "kyr: a window at scale 2 (2048 x 1458) does not fit the screen (800 x 600); using scale 1\n"},
        FitCase{"2560x1600x24", 4, 2048, 1458,
                "kyr: a window at scale 4 (4096 x 2916) does not fit the screen (2560 x 1600); using scale 2\n"},
        FitCase{"2048x1458x24", 2, 2048, 1458, ""},
        FitCase{"800x600x24", 1, 1025, 730, ""},
        // The automatic scale: the largest that fits, without a word.
        FitCase{"2560x1600x24", 0, 2048, 1458, ""},
        FitCase{"800x600x24", 0, 1025, 730, ""}),
    [](const auto& info) {
        const std::string screen = info.param.screen;
        const std::string scale = info.param.asked == 0 ? "Auto" : std::to_string(info.param.asked);
        return "Scale" + scale + "On" + screen.substr(0, screen.rfind('x'));
    });

// The scale chosen for a window too large for the screen: whole scales only,
// an exact fit counts, a pixel short does not, never below 1 nor above the asked.
TEST(SdlWindowScaleThatFits, LargestWholeScaleWithinTheScreen) {
    const struct {
        int asked, screenW, screenH, fits;
    } cases[] = {
        {4, 4096, 2916, 4}, {4, 4095, 2916, 3}, {4, 4096, 2915, 3}, {4, 2048, 4000, 2},
        {4, 8000, 8000, 4}, {2, 1024, 729, 1}, {3, 640, 480, 1}, {2, 0, 0, 1}, {1, 640, 480, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Graph::LargestScaleThatFits(1025, 730, c.asked, c.screenW, c.screenH), c.fits)
            << "scale " << c.asked << " on " << c.screenW << " x " << c.screenH;
    }
}

// The scale a window opens at: an asked one that does not fit shrinks (and
// the player is told), the automatic one (0) takes the largest that fits
// up to the largest there is without a word, and an unknown screen (0 x 0)
// changes an asked scale nothing, the automatic one to 1.
TEST(SdlWindowScaleThatFits, TheAutomaticScaleIsTheLargestThatFitsAndNeverShrinks) {
    const struct {
        int asked, screenW, screenH, scale;
        bool shrunk;
    } cases[] = {
        {0, 1920, 1080, 1, false}, {0, 2048, 1458, 2, false}, {0, 2047, 1458, 1, false},
        {0, 3840, 2160, 2, false}, {0, 3840, 2400, 3, false}, {0, 8000, 8000, 4, false},
        {0, 640, 480, 1, false},   {0, 0, 0, 1, false},       {3, 3840, 2160, 2, true},
        {3, 3840, 2400, 3, false}, {2, 640, 480, 1, true},    {3, 0, 0, 3, false},
        {1, 640, 480, 1, false},
    };
    for (const auto& c : cases) {
        const Graph::ScaleChoice choice = Graph::ChooseScale(1025, 730, c.asked, 4, c.screenW, c.screenH);
        EXPECT_EQ(choice.scale, c.scale) << "scale " << c.asked << " on " << c.screenW << " x " << c.screenH;
        EXPECT_EQ(choice.shrunk, c.shrunk) << "scale " << c.asked << " on " << c.screenW << " x " << c.screenH;
    }
}

// Fullscreen takes the largest whole scale that fits the display, centred,
// black around (the picture's last column and row are not shown).
TEST_F(SdlWindowUnderOpenbox, FullscreenOnA1920x1080ScreenIsAtScaleOneCentred) {
    Graph::SdlWindowOptions options;
    options.fullscreen = true;
    ASSERT_NO_FATAL_FAILURE(Open("1920x1080x24", true, options));
    DrawTestPicture();
    Graph::PublishFrame();
    EXPECT_TRUE(ScreenShowsCentred(BackBufferNow(), 1)) << mismatches_;
}

TEST_F(SdlWindowUnderOpenbox, FullscreenOnA3840x2160ScreenIsAtScaleTwoCentred) {
    Graph::SdlWindowOptions options;
    options.fullscreen = true;
    ASSERT_NO_FATAL_FAILURE(Open("3840x2160x24", true, options));
    DrawTestPicture();
    Graph::PublishFrame();
    EXPECT_TRUE(ScreenShowsCentred(BackBufferNow(), 2)) << mismatches_;
}

TEST_F(SdlWindowUnderOpenbox, AltEnterAndF11SwitchBetweenWindowAndFullscreen) {
    ASSERT_NO_FATAL_FAILURE(Open("1920x1080x24", true));
    DrawTestPicture();
    Graph::PublishFrame();
    const Picture p = BackBufferNow();
    ASSERT_TRUE(ClientShows(p)) << mismatches_;
    const Area window = client_;
    Type("alt+Return");
    EXPECT_TRUE(ScreenShowsCentred(p, 1)) << mismatches_;
    Type("alt+Return");
    ASSERT_TRUE(Eventually([&] { return ClientArea(id_).w == window.w; }));
    ASSERT_TRUE(Locate());
    EXPECT_EQ(client_.x, window.x);
    EXPECT_EQ(client_.y, window.y);
    EXPECT_EQ(client_.h, window.h);
    EXPECT_TRUE(ClientShows(p)) << mismatches_;
    Type("F11");
    EXPECT_TRUE(ScreenShowsCentred(p, 1)) << mismatches_;
}

// A forced hardware renderer (on Xvfb: Mesa's software GL behind the
// accelerated interface) shows the same pixels as the software path.
class SdlWindowHardware : public WindowOnX, public ::testing::WithParamInterface<int> {};

TEST_P(SdlWindowHardware, ShowsTheBackBufferPixelForPixel) {
    Graph::SdlWindowOptions options;
    options.renderer = Graph::SdlWindowOptions::Renderer::Hardware;
    options.scale = GetParam();
    ASSERT_NO_FATAL_FAILURE(Open("2560x1600x24", false, options));
    if (initMessages_.find("no hardware renderer") != std::string::npos)
        GTEST_SKIP() << "no accelerated SDL renderer on this display: " << initMessages_;
    DrawTestPicture();
    Graph::PublishFrame();
    const Picture p = BackBufferNow();
    const int cols = options.scale > 1 ? 1024 : 1025, rows = options.scale > 1 ? 729 : 730;
    EXPECT_TRUE(Eventually([&] {
        return (mismatches_ = Mismatches(Shoot(), p, client_.x, client_.y, cols, rows, options.scale)) == 0;
    })) << mismatches_;
}

INSTANTIATE_TEST_SUITE_P(Scale, SdlWindowHardware, ::testing::Values(1, 2));

// Where no OpenGL can be loaded (SDL is told to load it from nowhere), a
// forced hardware renderer falls back to the software path: the window
// opens, says so, and shows the back buffer.
class SdlWindowRenderer : public WindowOnX {};

TEST_F(SdlWindowRenderer, ForcedHardwareWithoutOpenGLPresentsInSoftware) {
    setenv("SDL_OPENGL_LIBRARY", "/nonexistent/libGL.so.1", 1);
    struct Unset {
        ~Unset() { unsetenv("SDL_OPENGL_LIBRARY"); }   // tests run one after another in one process too
    } unset;
    Graph::SdlWindowOptions options;
    options.renderer = Graph::SdlWindowOptions::Renderer::Hardware;
    ASSERT_NO_FATAL_FAILURE(Open("1280x1024x24", false, options));
    EXPECT_NE(initMessages_.find("presenting in software"), std::string::npos) << initMessages_;
    DrawTestPicture();
    Graph::PublishFrame();
    EXPECT_TRUE(ClientShows(BackBufferNow())) << mismatches_;
}

TEST(SdlWindowNoDisplay, InitFailsPromptlyWithItsMessage) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::mutex m;
    std::condition_variable cv;
    bool returned = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(m);
        if (!cv.wait_for(lock, testsupport::ScaledToLoad(5s), [&] { return returned; })) {
            std::fprintf(stderr, "Graph::Init did not return in time\n");
            std::abort();
        }
    });
    Graph::UseSdlWindow();
    Graph::ModuleInit();
    testing::internal::CaptureStderr();
    const bool opened = Graph::Init(1, 1, 1025, 730);
    const std::string err = testing::internal::GetCapturedStderr();
    {
        std::lock_guard<std::mutex> lock(m);
        returned = true;
    }
    cv.notify_all();
    watchdog.join();
    EXPECT_FALSE(opened);
    EXPECT_NE(err.find("Win class was not registered"), std::string::npos) << err;
    Graph::Line(0, 0, 10, 10, 1);   // dropped, never hangs
    Graph::ModuleExit();
}
