// A game controller as keys: the pad's state machine on its own (which key
// each control holds, the stick's dead zone, the keyboard-like repeat, a
// pad pulled out), then a virtual pad plugged into the SDL window on a
// private Xvfb: its presses reach the input queue as the keys typed into
// the window do, and the window reads no controller when told not to.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <chrono>
#include <vector>
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/sdl/detail/SdlController.h"
#include "platform/sdl/detail/SdlKeys.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TimeLimits.h"
#include "tests/support/VirtualPad.h"
#include "tests/support/XvfbServer.h"

using namespace Graph::detail;
using namespace std::chrono_literals;

namespace {

// The record the window gives for a key typed with no modifier.
IO::KeyRecord Typed(SDL_Scancode scancode, bool down) {
    IO::KeyRecord record;
    EXPECT_TRUE(SdlKeyRecord(scancode, KMOD_NONE, down, record));
    return record;
}

bool Same(const IO::KeyRecord& a, const IO::KeyRecord& b) {
    return a.keyDown == b.keyDown && a.repeatCount == b.repeatCount && a.virtualKeyCode == b.virtualKeyCode &&
           a.virtualScanCode == b.virtualScanCode && a.asciiChar == b.asciiChar &&
           a.controlKeyState == b.controlKeyState;
}

// Records as "down UP", "up SPACE" ... for readable failures.
std::string Named(const IO::KeyRecord& r) {
    const char* name = r.virtualKeyCode == 0x26 ? "UP" : r.virtualKeyCode == 0x28 ? "DOWN"
                     : r.virtualKeyCode == 0x25 ? "LEFT" : r.virtualKeyCode == 0x27 ? "RIGHT"
                     : r.virtualKeyCode == 0x20 ? "SPACE" : r.virtualKeyCode == 0x1B ? "ESC"
                     : r.virtualKeyCode == 0x0D ? "ENTER" : "?";
    return std::string(r.keyDown ? "down " : "up ") + name;
}

std::vector<std::string> Names(const PadKeys::Records& records) {
    std::vector<std::string> names;
    for (const IO::KeyRecord& r : records) names.push_back(Named(r));
    return names;
}

using Names_ = std::vector<std::string>;

// ---- The state machine ----------------------------------------------------

TEST(PadKeys, EachControlGivesTheRecordsOfItsKeyTypedIntoTheWindow) {
    struct Case {
        PadControl control;
        SDL_Scancode key;
    } cases[] = {
        {PadControl::DpadUp, SDL_SCANCODE_UP},       {PadControl::DpadDown, SDL_SCANCODE_DOWN},
        {PadControl::DpadLeft, SDL_SCANCODE_LEFT},   {PadControl::DpadRight, SDL_SCANCODE_RIGHT},
        {PadControl::StickUp, SDL_SCANCODE_UP},      {PadControl::StickDown, SDL_SCANCODE_DOWN},
        {PadControl::StickLeft, SDL_SCANCODE_LEFT},  {PadControl::StickRight, SDL_SCANCODE_RIGHT},
        {PadControl::South, SDL_SCANCODE_SPACE},     {PadControl::East, SDL_SCANCODE_ESCAPE},
        {PadControl::Back, SDL_SCANCODE_ESCAPE},     {PadControl::Start, SDL_SCANCODE_RETURN},
    };
    for (const Case& c : cases) {
        PadKeys pad;
        PadKeys::Records out;
        pad.Control(c.control, true, 1000, out);
        pad.Control(c.control, false, 1010, out);
        ASSERT_EQ(out.size(), 2u) << static_cast<int>(c.control);
        EXPECT_TRUE(Same(out[0], Typed(c.key, true))) << static_cast<int>(c.control);
        EXPECT_TRUE(Same(out[1], Typed(c.key, false))) << static_cast<int>(c.control);
    }
}

TEST(PadKeys, AKeyHeldByTwoControlsGoesDownOnceAndUpWithTheLast) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Control(PadControl::DpadLeft, true, 0, out);
    pad.Stick(false, -30000, 5, out);
    pad.Control(PadControl::DpadLeft, false, 10, out);
    EXPECT_EQ(Names(out), (Names_{"down LEFT"})) << "the stick still holds LEFT";
    EXPECT_TRUE(pad.Held(PadKey::Left));
    pad.Stick(false, 0, 20, out);
    EXPECT_EQ(Names(out), (Names_{"down LEFT", "up LEFT"}));
    // B and Back are both Escape.
    out.clear();
    pad.Control(PadControl::East, true, 30, out);
    pad.Control(PadControl::Back, true, 31, out);
    pad.Control(PadControl::East, false, 32, out);
    pad.Control(PadControl::Back, false, 33, out);
    EXPECT_EQ(Names(out), (Names_{"down ESC", "up ESC"}));
}

TEST(PadKeys, AControlReportedTwiceInTheSameStateSendsNothingMore) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Control(PadControl::South, true, 0, out);
    pad.Control(PadControl::South, true, 1, out);
    pad.Control(PadControl::South, false, 2, out);
    pad.Control(PadControl::South, false, 3, out);
    EXPECT_EQ(Names(out), (Names_{"down SPACE", "up SPACE"}));
}

TEST(PadKeys, AStickInsideItsDeadZoneSendsNothing) {
    PadKeys pad;
    PadKeys::Records out;
    for (int value = -kStickPressed + 1; value < kStickPressed; value += 97) {
        pad.Stick(false, value, 0, out);
        pad.Stick(true, value, 0, out);
    }
    EXPECT_TRUE(out.empty()) << Names(out).front();
    // A worn stick resting off centre on both axes at once.
    pad.Stick(false, kStickDeadZone - 1, 0, out);
    pad.Stick(true, -(kStickDeadZone - 1), 0, out);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(pad.NextRepeatMs()) << "nothing held, nothing to repeat";
}

TEST(PadKeys, AStickPastHalfwayHoldsItsArrowUntilBackInTheDeadZone) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Stick(true, -kStickPressed, 0, out);
    EXPECT_EQ(Names(out), (Names_{"down UP"}));
    // Easing off towards the centre, but not into the dead zone: no chatter.
    for (int value = -kStickPressed; value <= -kStickDeadZone; value += 500) pad.Stick(true, value, 1, out);
    pad.Stick(true, -kStickPressed - 100, 2, out);
    EXPECT_EQ(Names(out), (Names_{"down UP"}));
    pad.Stick(true, -kStickDeadZone + 1, 3, out);
    EXPECT_EQ(Names(out), (Names_{"down UP", "up UP"}));
    // Flung from one side to the other between two reports: the old arrow
    // goes up before the new one goes down.
    out.clear();
    pad.Stick(false, -32768, 4, out);
    pad.Stick(false, 32767, 5, out);
    EXPECT_EQ(Names(out), (Names_{"down LEFT", "up LEFT", "down RIGHT"}));
    // Diagonals hold both arrows.
    pad.Stick(true, 32767, 6, out);
    EXPECT_TRUE(pad.Held(PadKey::Right) && pad.Held(PadKey::Down));
}

TEST(PadKeys, AHeldKeyRepeatsAfterTheDelayAtTheRateAndStopsAtRelease) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Control(PadControl::DpadDown, true, 1000, out);
    ASSERT_EQ(pad.NextRepeatMs(), 1000 + kRepeatDelayMs);
    pad.Repeat(1000 + kRepeatDelayMs - 1, out);
    EXPECT_EQ(out.size(), 1u) << "no repeat before the delay";
    for (uint64_t k = 0; k < 5; ++k) pad.Repeat(1000 + kRepeatDelayMs + k * kRepeatPeriodMs, out);
    EXPECT_EQ(Names(out), (Names_{"down DOWN", "down DOWN", "down DOWN", "down DOWN", "down DOWN", "down DOWN"}));
    for (const IO::KeyRecord& r : out) EXPECT_TRUE(Same(r, Typed(SDL_SCANCODE_DOWN, true))) << "repeats as typed";
    pad.Control(PadControl::DpadDown, false, 1700, out);
    EXPECT_EQ(Names(out).back(), "up DOWN");
    EXPECT_FALSE(pad.NextRepeatMs());
    const std::size_t before = out.size();
    for (uint64_t t = 1700; t < 5000; t += 7) pad.Repeat(t, out);
    EXPECT_EQ(out.size(), before) << "a repeat after the release";
}

TEST(PadKeys, AWaitEndsWhenTheNextRepeatIsDue) {
    PadKeys pad;
    PadKeys::Records out;
    EXPECT_EQ(pad.WaitMs(0, 100), 100) << "nothing held: the wait as asked";
    pad.Control(PadControl::DpadUp, true, 1000, out);
    EXPECT_EQ(pad.WaitMs(1000, 100), 100) << "the first repeat is far off";
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs - 30, 100), 30);
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs, 100), 0) << "due now";
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs + 500, 100), 0) << "overdue";
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs - 30, 0), 0) << "a poll stays a poll";
    pad.Repeat(1000 + kRepeatDelayMs, out);
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs, 100), static_cast<int>(kRepeatPeriodMs));
    pad.Control(PadControl::DpadUp, false, 1000 + kRepeatDelayMs + 1, out);
    EXPECT_EQ(pad.WaitMs(1000 + kRepeatDelayMs + 1, 100), 100) << "released: no repeat to wake for";
}

TEST(PadKeys, ALateCallSendsOneRepeatNotABurst) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Control(PadControl::South, true, 0, out);
    pad.Repeat(10'000, out);   // the program was busy for ten seconds
    EXPECT_EQ(out.size(), 2u);
    ASSERT_TRUE(pad.NextRepeatMs());
    EXPECT_EQ(*pad.NextRepeatMs(), 10'000 + kRepeatPeriodMs);
}

TEST(PadKeys, TheKeyPressedLastRepeatsAndAKeyStillHeldDoesNotTakeOver) {
    PadKeys pad;
    PadKeys::Records out;
    pad.Control(PadControl::DpadUp, true, 0, out);
    pad.Control(PadControl::South, true, 100, out);   // fire while climbing
    pad.Repeat(100 + kRepeatDelayMs, out);
    EXPECT_EQ(Names(out), (Names_{"down UP", "down SPACE", "down SPACE"}));
    pad.Control(PadControl::South, false, 700, out);
    EXPECT_FALSE(pad.NextRepeatMs()) << "as on a keyboard, UP does not repeat again";
    EXPECT_TRUE(pad.Held(PadKey::Up));
    // Letting go of an older key leaves the newer one repeating.
    out.clear();
    pad.Control(PadControl::DpadRight, true, 800, out);
    pad.Control(PadControl::DpadUp, false, 810, out);
    pad.Repeat(800 + kRepeatDelayMs, out);
    EXPECT_EQ(Names(out), (Names_{"down RIGHT", "up UP", "down RIGHT"}));
}

TEST(PadKeys, ReleasingEverythingLetsEachHeldKeyGoUpOnce) {
    PadKeys pad;
    PadKeys::Records out;
    pad.ReleaseAll(out);
    EXPECT_TRUE(out.empty()) << "nothing held";
    pad.Control(PadControl::DpadLeft, true, 0, out);
    pad.Stick(false, -30000, 0, out);
    pad.Control(PadControl::Start, true, 0, out);
    out.clear();
    pad.ReleaseAll(out);
    EXPECT_EQ(Names(out), (Names_{"up LEFT", "up ENTER"}));
    EXPECT_FALSE(pad.NextRepeatMs());
    // A fresh press after that is a press again.
    out.clear();
    pad.Control(PadControl::DpadLeft, true, 1, out);
    EXPECT_EQ(Names(out), (Names_{"down LEFT"}));
}

// ---- A virtual pad in the SDL window --------------------------------------

// Xvfb, the SDL window open with or without controllers, the input queue empty.
class PadInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server_.Start());
        setenv("DISPLAY", server_.Display().c_str(), 1);
    }
    void TearDown() override {
        pad_.Pull();
        if (opened_) testsupport::CloseGraph();
        IO::ClearInput();
        server_.Stop();
    }

    void Open(bool controller = true) {
        Graph::SdlWindowOptions options;
        options.renderer = Graph::SdlWindowOptions::Renderer::Software;
        options.controller = controller;
        opened_ = testsupport::OpenGraph(Graph::SdlWindowSystem(options));
        ASSERT_TRUE(opened_);
        IO::ClearInput();
    }

    // Plugs the pad in and waits until the window has taken it.
    void PlugIn() {
        ASSERT_TRUE(pad_.PlugIn()) << pad_.Why();
        ASSERT_TRUE(Eventually([&] { return pad_.TakenAsController(); })) << "the window never opened the pad";
    }

    // Pumps the window's events, as the program's waits do, until `done`
    // holds; the limit only ends a wait that went wrong.
    template <class F>
    bool Eventually(F done, std::chrono::milliseconds limit = 10s) {
        const auto end = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(limit);
        while (std::chrono::steady_clock::now() < end) {
            if (done()) return true;
            Waits::Pump(20);
        }
        return done();
    }

    // Pumps for `span` and keeps what arrived.
    void PumpFor(std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < end) Waits::Pump(10);
    }

    // Moves everything in the inbox into `received`; true once it holds `n`.
    bool Received(std::size_t n) {
        IO::InputEvent e;
        while (IO::PopInput(e)) received_.push_back(e.key);
        return received_.size() >= n;
    }
    bool Receive(std::size_t n) { return Eventually([&] { return Received(n); }); }

    std::vector<std::string> ReceivedNames() const {
        std::vector<std::string> names;
        for (const IO::KeyRecord& r : received_) names.push_back(Named(r));
        return names;
    }

    testsupport::XvfbServer server_;
    testsupport::VirtualPad pad_;
    bool opened_ = false;
    std::vector<IO::KeyRecord> received_;
};

TEST_F(PadInWindow, DpadAndAGiveTheRecordsOfTheArrowKeysAndSpace) {
    Open();
    PlugIn();
    const struct {
        SDL_GameControllerButton button;
        SDL_Scancode key;
    } presses[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_SCANCODE_UP},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_SCANCODE_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_SCANCODE_LEFT},   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_SCANCODE_RIGHT},
        {SDL_CONTROLLER_BUTTON_A, SDL_SCANCODE_SPACE},          {SDL_CONTROLLER_BUTTON_B, SDL_SCANCODE_ESCAPE},
        {SDL_CONTROLLER_BUTTON_BACK, SDL_SCANCODE_ESCAPE},      {SDL_CONTROLLER_BUTTON_START, SDL_SCANCODE_RETURN},
    };
    for (const auto& press : presses) {
        received_.clear();
        pad_.Button(press.button, true);
        ASSERT_TRUE(Receive(1)) << "button " << press.button;
        pad_.Button(press.button, false);
        ASSERT_TRUE(Receive(2)) << "button " << press.button;
        EXPECT_TRUE(Same(received_[0], Typed(press.key, true))) << "button " << press.button;
        EXPECT_TRUE(Same(received_[1], Typed(press.key, false))) << "button " << press.button;
        EXPECT_EQ(received_.size(), 2u) << "a quick press does not repeat";
    }
    // Buttons that are no key send nothing; the next real press proves the
    // events were flowing meanwhile.
    received_.clear();
    pad_.Button(SDL_CONTROLLER_BUTTON_X, true);
    pad_.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    pad_.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    PumpFor(100ms);
    pad_.Button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(Receive(1));
    EXPECT_EQ(ReceivedNames().front(), "down SPACE");
}

TEST_F(PadInWindow, AStickInsideItsDeadZoneSendsNothingAndPastHalfwayIsAnArrow) {
    Open();
    PlugIn();
    for (int value : {kStickDeadZone - 1, -(kStickDeadZone - 1), 4000, -7000}) {
        pad_.Axis(SDL_CONTROLLER_AXIS_LEFTX, value);
        pad_.Axis(SDL_CONTROLLER_AXIS_LEFTY, -value);
        PumpFor(30ms);
    }
    EXPECT_FALSE(Received(1)) << ReceivedNames().front();
    pad_.Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    ASSERT_TRUE(Receive(1));
    EXPECT_TRUE(Same(received_[0], Typed(SDL_SCANCODE_RIGHT, true)));
    pad_.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    ASSERT_TRUE(Receive(2));
    EXPECT_TRUE(Same(received_[1], Typed(SDL_SCANCODE_RIGHT, false)));
}

TEST_F(PadInWindow, AHeldDirectionRepeatsWhileThePumpWaitsAndStopsAtRelease) {
    Open();
    PlugIn();
    pad_.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    // The pump is only ever asked to wait up to 20 ms here, but it must wake
    // for the repeats on its own: a first repeat and two more.
    ASSERT_TRUE(Receive(4)) << received_.size() << " records";
    pad_.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    ASSERT_TRUE(Eventually([&] { Received(0); return !received_.empty() && !received_.back().keyDown; }));
    for (std::size_t k = 0; k + 1 < received_.size(); ++k)
        EXPECT_TRUE(Same(received_[k], Typed(SDL_SCANCODE_DOWN, true))) << "record " << k;
    const std::size_t atRelease = received_.size();
    PumpFor(10 * std::chrono::milliseconds(kRepeatPeriodMs));
    Received(0);
    EXPECT_EQ(received_.size(), atRelease) << "repeats went on after the release";
}

TEST_F(PadInWindow, RepeatsArriveThroughTheLongestWaits) {
    Open();
    PlugIn();
    pad_.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    ASSERT_TRUE(Receive(1));
    // Waits as long as the program's longest (an idle key poll): with no
    // other event to end them, only the repeats' own due times do.
    const auto end = std::chrono::steady_clock::now() + testsupport::ScaledToLoad(10s);
    while (!Received(4) && std::chrono::steady_clock::now() < end) Waits::Pump(Waits::kMaxPumpMs);
    EXPECT_TRUE(Received(4));
    for (const IO::KeyRecord& r : received_) EXPECT_TRUE(Same(r, Typed(SDL_SCANCODE_LEFT, true)));
    pad_.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
}

TEST_F(PadInWindow, PullingThePadWhileADirectionIsHeldLetsItsKeyUp) {
    Open();
    PlugIn();
    pad_.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    ASSERT_TRUE(Receive(1));
    EXPECT_EQ(ReceivedNames().front(), "down UP");
    pad_.Pull();
    ASSERT_TRUE(Eventually([&] { Received(0); return !received_.empty() && !received_.back().keyDown; }));
    EXPECT_TRUE(Same(received_.back(), Typed(SDL_SCANCODE_UP, false)));
    // Nothing repeats for a pad that is gone, and another pad plugged in
    // afterwards plays.
    const std::size_t atPull = received_.size();
    PumpFor(std::chrono::milliseconds(kRepeatDelayMs + 3 * kRepeatPeriodMs));
    Received(0);
    EXPECT_EQ(received_.size(), atPull);
    testsupport::VirtualPad second;
    ASSERT_TRUE(second.PlugIn()) << second.Why();
    ASSERT_TRUE(Eventually([&] { return second.TakenAsController(); }));
    second.Button(SDL_CONTROLLER_BUTTON_START, true);
    ASSERT_TRUE(Receive(atPull + 1));
    EXPECT_EQ(ReceivedNames().back(), "down ENTER");
    second.Button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_TRUE(Receive(atPull + 2));
}

TEST_F(PadInWindow, OnlyTheFirstPadPlays) {
    Open();
    PlugIn();
    testsupport::VirtualPad second;
    ASSERT_TRUE(second.PlugIn()) << second.Why();
    PumpFor(50ms);
    second.Button(SDL_CONTROLLER_BUTTON_A, true);
    PumpFor(50ms);
    pad_.Button(SDL_CONTROLLER_BUTTON_B, true);
    ASSERT_TRUE(Receive(1));
    EXPECT_EQ(ReceivedNames(), (Names_{"down ESC"}));
}

TEST_F(PadInWindow, WithoutControllersTheSubsystemIsNeverStarted) {
    Open(false);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK), 0u);
    PumpFor(50ms);
    EXPECT_FALSE(Received(1));
}

}  // namespace
