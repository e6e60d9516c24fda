// A level-1 game played twice in the SDL window on a private Xvfb, on a
// fake clock: once steered and fired from a virtual pad, once with the same
// keys typed into the window (key events through the window's own key
// path). The pad gives the records of the typed keys, so the two games must
// draw the same requests, wait for wait.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine3d/QX3D.h"
#include "game/Game.h"
#include "game/GameState.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/Lib.h"
#include "platform/console/Waits.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "platform/sdl/SdlWindow.h"
#include "shell/StandardLib.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LevelOneGame.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TimeLimits.h"
#include "tests/support/TraceCompare.h"
#include "tests/support/TraceRecorder.h"
#include "tests/support/VirtualPad.h"
#include "tests/support/XvfbServer.h"

using namespace std::chrono_literals;

namespace {

// One change on the pad and the key it stands for, made after frame
// `frame`. Each change gives exactly one record: a key going down or up.
// At most one a frame: the frame's key poll empties the inbox, so the next
// record there is the move's own.
struct Move {
    unsigned frame;
    enum class On { Button, StickX, StickY } on;
    int control;          // the button, or unused for the stick
    int value;            // button: 1 pressed, 0 released; stick: the axis value
    SDL_Scancode key;     // the key typed instead
    bool down;            // whether that key goes down or up
};

constexpr Move kMoves[] = {
    {5, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, SDL_SCANCODE_RIGHT, true},
    {6, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, SDL_SCANCODE_RIGHT, false},
    {10, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 1, SDL_SCANCODE_SPACE, true},
    {11, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 0, SDL_SCANCODE_SPACE, false},
    {15, Move::On::StickY, 0, -32768, SDL_SCANCODE_UP, true},
    {17, Move::On::StickY, 0, 0, SDL_SCANCODE_UP, false},
    {20, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1, SDL_SCANCODE_LEFT, true},
    {21, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, SDL_SCANCODE_LEFT, false},
    {25, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 1, SDL_SCANCODE_SPACE, true},
    {26, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 0, SDL_SCANCODE_SPACE, false},
    {30, Move::On::StickX, 0, -32768, SDL_SCANCODE_LEFT, true},
    {31, Move::On::StickX, 0, 0, SDL_SCANCODE_LEFT, false},
    {35, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1, SDL_SCANCODE_DOWN, true},
    {36, Move::On::Button, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, SDL_SCANCODE_DOWN, false},
    {40, Move::On::StickX, 0, 32767, SDL_SCANCODE_RIGHT, true},
    {41, Move::On::StickX, 0, 0, SDL_SCANCODE_RIGHT, false},
    {45, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 1, SDL_SCANCODE_SPACE, true},
    {46, Move::On::Button, SDL_CONTROLLER_BUTTON_A, 0, SDL_SCANCODE_SPACE, false},
    // B is Escape: the game is left at the next frame's key.
    {60, Move::On::Button, SDL_CONTROLLER_BUTTON_B, 1, SDL_SCANCODE_ESCAPE, true},
};
constexpr unsigned kShots = 3;
constexpr unsigned kLastFrame = 61;   // the frame that reads Escape

enum class Source { Pad, Keyboard };

std::vector<std::string>* gDelivered = nullptr;

void NoteDelivery(uint64_t poll, const std::vector<IO::InputEvent>& events) {
    for (const IO::InputEvent& e : events) {
        char line[64];
        std::snprintf(line, sizeof line, "poll %llu: %s 0x%02x 0x%02x", static_cast<unsigned long long>(poll),
                      e.key.keyDown ? "down" : "up", e.key.virtualKeyCode, e.key.virtualScanCode);
        gDelivered->push_back(line);
    }
}

// How one game went: its request trace, the key records each key poll
// received ("poll 12: down 0x27 0x4d"), and what the keys did to it.
struct Game {
    std::string trace;
    std::vector<std::string> delivered;
    unsigned frames = 0;
    unsigned shots = 0;
    bool quit = false;
};

class PadGameTrace : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server_.Start());
        setenv("DISPLAY", server_.Display().c_str(), 1);
    }
    void TearDown() override {
        pad_.Pull();
        Waits::SetFrameHooks({});
        IO::SetDeliveryObserver(nullptr);
        Graph::SetTrace(nullptr);
        if (opened_) testsupport::CloseGraph();
        opened_ = false;
        IO::ClearInput();
        Clock::Use(Clock::RealClock());
        server_.Stop();
    }

    // Pumps the window's events, as the real clock's waits do, until the
    // input inbox holds a record; the ceiling only ends a wait gone wrong.
    static bool PumpUntilInput() {
        const auto end = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(10s);
        while (!IO::InputWaiting() && std::chrono::steady_clock::now() < end) Waits::Pump(5);
        return IO::InputWaiting();
    }

    void Make(const Move& move, Source source) {
        if (source == Source::Pad) {
            if (move.on == Move::On::Button)
                pad_.Button(static_cast<SDL_GameControllerButton>(move.control), move.value != 0);
            else
                pad_.Axis(move.on == Move::On::StickX ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY,
                          move.value);
        } else {
            SDL_Event e{};
            e.type = move.down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.state = move.down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.scancode = move.key;
            e.key.keysym.sym = SDL_GetKeyFromScancode(move.key);
            e.key.keysym.mod = KMOD_NONE;
            ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        }
    }

    // A level-1 game at speed 0 from a fresh start, on a fresh window and a
    // fake clock that reads the same every time; `source` makes the moves.
    Game Play(Source source) {
        Game game;
        testsupport::FakeClock clock;
        clock.now = 5'000'000;
        clock.wall = {2026, 12, 7, 5, 0, 17, 430, 0, true, false};
        testsupport::UseFakeClock useClock(clock);

        Graph::SdlWindowOptions options;
        options.renderer = Graph::SdlWindowOptions::Renderer::Software;
        options.controller = true;
        opened_ = testsupport::OpenGraph(Graph::SdlWindowSystem(options));
        EXPECT_TRUE(opened_);
        if (!opened_) return game;
        // The pad is plugged in for both games; only the first touches it.
        EXPECT_TRUE(pad_.PlugIn()) << pad_.Why();
        const auto end = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(10s);
        while (!pad_.TakenAsController() && std::chrono::steady_clock::now() < end) Waits::Pump(20);
        EXPECT_TRUE(pad_.TakenAsController()) << "the window never opened the pad";

        testsupport::ReadyForLevelOneGame();
        gDelivered = &game.delivered;
        IO::SetDeliveryObserver(NoteDelivery);

        {
            testsupport::TraceRecorder trace(clock);
            // After the pacing wait that ends each frame, the moves due then
            // are made and the window pumped until each one's record is in
            // the inbox, so the next frame's key poll takes it.
            const auto traceWait = clock.afterWait;
            CARDINAL seen = 0;
            std::size_t next = 0;
            bool lost = false;
            clock.afterWait = [&](uint64_t from, uint64_t deadline) {
                traceWait(from, deadline);
                if (KYR12::TimerVijand == seen) return;
                seen = KYR12::TimerVijand;
                for (; next < std::size(kMoves) && kMoves[next].frame == seen && !lost; ++next) {
                    Make(kMoves[next], source);
                    lost = !PumpUntilInput();
                }
            };
            KYR12::SPEL();
            EXPECT_FALSE(lost) << "a move's record never reached the inbox";
            EXPECT_EQ(next, std::size(kMoves)) << "the game ended before all the moves were made";
            const std::vector<std::string> lines = trace.Stop();
            for (const std::string& line : lines) game.trace += line + '\n';
        }
        game.frames = KYR12::TimerVijand;
        game.shots = KYR12::CNTKogA;
        game.quit = KYR12::Quit;

        Waits::SetFrameHooks({});
        IO::SetDeliveryObserver(nullptr);
        pad_.Pull();
        testsupport::CloseGraph();
        opened_ = false;
        IO::ClearInput();
        return game;
    }

    testsupport::XvfbServer server_;
    testsupport::VirtualPad pad_;
    bool opened_ = false;
};

TEST_F(PadGameTrace, AGamePlayedOnThePadDrawsWhatTheSameKeysTypedDraw) {
    const Game pad = Play(Source::Pad);
    ASSERT_FALSE(HasFailure());
    const Game typed = Play(Source::Keyboard);
    ASSERT_FALSE(HasFailure());
    // The keys did reach both games: three shots, and Escape ended each one.
    EXPECT_EQ(pad.shots, kShots);
    EXPECT_EQ(typed.shots, kShots);
    EXPECT_TRUE(pad.quit && typed.quit);
    EXPECT_EQ(pad.frames, kLastFrame);
    EXPECT_EQ(typed.frames, kLastFrame);
    // Each poll received the same records (a pad key held so long that it
    // repeated would show here first), and so the same requests were drawn.
    EXPECT_EQ(pad.delivered.size(), std::size(kMoves));
    EXPECT_EQ(pad.delivered, typed.delivered);
    EXPECT_EQ(testsupport::TraceDifference(pad.trace, typed.trace), "");
}

}  // namespace
