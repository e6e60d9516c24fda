// A game controller as a few keys of the US keyboard. The pad's controls
// hold keys down: the D-pad and the left stick the four arrows, A (the
// south button) SPACE, B (the east button) and Back Escape, Start Enter.
// A key goes down when its first control is pressed and up when its last
// is let go, so a D-pad held together with the stick gives one key, not
// two. A held key repeats as a keyboard's does: the key pressed last, once
// after kRepeatDelayMs and then every kRepeatPeriodMs, until it is let go.
//
// PadKeys is the whole state machine, fed with the controls' changes and
// the time, and giving the key records to post; it knows nothing of SDL's
// events, so it is tested without any. SdlController.cpp feeds it from the
// controller SDL opened.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>
#include "platform/console/InputQueue.h"

namespace Graph::detail {

// The controls that give keys. The stick's four directions are separate
// controls, so that a stick held up-left holds both arrows.
enum class PadControl : uint8_t {
    DpadUp, DpadDown, DpadLeft, DpadRight,
    StickUp, StickDown, StickLeft, StickRight,
    South, East, Back, Start,
};
inline constexpr int kPadControls = 12;

// The keys they give.
enum class PadKey : uint8_t { Up, Down, Left, Right, Space, Escape, Enter };
inline constexpr int kPadKeys = 7;

PadKey KeyOf(PadControl control);

// The console's default typematic settings (delay 1 and speed 31 in the
// original system's keyboard settings: about half a second, then about 30
// characters a second), which the players of the original program had
// under their fingers: the menu's highlight and the game's steering then
// move as fast with the pad as with a held arrow key.
inline constexpr uint64_t kRepeatDelayMs = 500;
inline constexpr uint64_t kRepeatPeriodMs = 33;

// A stick axis runs from -32768 to 32767. A direction goes down once the
// stick is past half its travel, and up again only once it is back inside
// the dead zone: a stick at rest (a worn one drifts up to a quarter of its
// travel) never sends a key, and a hand resting near the threshold does
// not make the key chatter.
inline constexpr int kStickPressed = 16384;
inline constexpr int kStickDeadZone = 10000;

class PadKeys {
public:
    using Records = std::vector<IO::KeyRecord>;

    // A control pressed or let go at `nowMs` (any steady milliseconds).
    void Control(PadControl control, bool pressed, uint64_t nowMs, Records& out);
    // A stick axis moved: `vertical` is the Y axis (negative is up).
    void Stick(bool vertical, int value, uint64_t nowMs, Records& out);
    // The repeats due by `nowMs`: at most one, however late the call (a
    // keyboard does not send a burst of repeats after a stall either).
    void Repeat(uint64_t nowMs, Records& out);
    // When the next repeat is due; none while no key is held.
    std::optional<uint64_t> NextRepeatMs() const;
    // How long a wait of `timeoutMs` from `nowMs` may last: until the next
    // repeat is due at the latest (0 when it is due already).
    int WaitMs(uint64_t nowMs, int timeoutMs) const;
    // The controller went away: every held key goes up, in the keys' order.
    void ReleaseAll(Records& out);

    bool Held(PadKey key) const { return holders_[static_cast<int>(key)] != 0; }

private:
    void Press(PadKey key, uint64_t nowMs, Records& out);
    void Release(PadKey key, Records& out);

    uint16_t controls_ = 0;                 // the controls pressed, one bit each
    uint16_t holders_[kPadKeys] = {};       // per key: the controls holding it
    std::optional<PadKey> repeating_;       // the key pressed last, while held
    uint64_t nextRepeatMs_ = 0;
};

// The key record of `key` going down or up, from the one US keyboard table
// with no modifier held.
IO::KeyRecord PadKeyRecord(PadKey key, bool down);

// The first connected game controller, on the program's thread: SDL's game
// controller subsystem with its mapping database, opened and closed with
// the window. Its keys are posted into the input queue like the window's.
class SdlController {
public:
    SdlController() = default;
    SdlController(const SdlController&) = delete;
    SdlController& operator=(const SdlController&) = delete;
    ~SdlController() { Stop(); }

    // Starts the subsystem; the controllers already connected arrive as
    // events at the next pump. False when SDL could not start it (the
    // program then plays with the keyboards alone).
    bool Start();
    // Closes the controller and the subsystem; posts nothing.
    void Stop();
    // A controller's event (`event` is an SDL_Event): true when it was one.
    bool Handle(const void* event);
    // Reads the controllers (and notices one plugged in or pulled out):
    // their events are then waiting for the pump.
    void Update();
    // The pump's wait, shortened to end when the next repeat is due, and to
    // kReadEveryMs while a controller is open, so that it is read that often.
    int LimitWait(int timeoutMs) const;
    // About the game's frame rate: a press waits one frame at most, which
    // the game would wait for anyway, and an idle menu wakes 60 times a
    // second rather than 1000.
    static constexpr int kReadEveryMs = 16;
    // Posts the repeat due now, if any.
    void PostRepeats();
    // Whether a controller is open (tests).
    bool Connected() const { return pad_ != nullptr; }

private:
    void OpenFirst();
    void Post(const PadKeys::Records& records);

    bool started_ = false;
    void* pad_ = nullptr;          // the SDL_GameController
    int32_t instance_ = -1;        // its joystick instance id
    PadKeys keys_;
};

}  // namespace Graph::detail
