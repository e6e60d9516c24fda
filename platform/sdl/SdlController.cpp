// A game controller's controls as held keys (see detail/SdlController.h).
#include "platform/sdl/detail/SdlController.h"

#include <SDL2/SDL.h>
#include "platform/console/UsKeyRecord.h"
#include "platform/console/UsKeyboard.h"

namespace Graph::detail {

namespace {

constexpr uint16_t Bit(PadControl control) { return static_cast<uint16_t>(1u << static_cast<int>(control)); }

// The controls SDL's game controller buttons are; nullopt for the others
// (shoulders, sticks pressed, the guide button ...).
std::optional<PadControl> ControlOfButton(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadControl::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadControl::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadControl::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadControl::DpadRight;
    case SDL_CONTROLLER_BUTTON_A: return PadControl::South;
    case SDL_CONTROLLER_BUTTON_B: return PadControl::East;
    case SDL_CONTROLLER_BUTTON_BACK: return PadControl::Back;
    case SDL_CONTROLLER_BUTTON_START: return PadControl::Start;
    default: return std::nullopt;
    }
}

}  // namespace

PadKey KeyOf(PadControl control) {
    switch (control) {
    case PadControl::DpadUp:
    case PadControl::StickUp: return PadKey::Up;
    case PadControl::DpadDown:
    case PadControl::StickDown: return PadKey::Down;
    case PadControl::DpadLeft:
    case PadControl::StickLeft: return PadKey::Left;
    case PadControl::DpadRight:
    case PadControl::StickRight: return PadKey::Right;
    case PadControl::South: return PadKey::Space;
    case PadControl::East:
    case PadControl::Back: return PadKey::Escape;
    case PadControl::Start: return PadKey::Enter;
    }
    return PadKey::Escape;
}

IO::KeyRecord PadKeyRecord(PadKey key, bool down) {
    static constexpr const IO::UsKey* kKeys[kPadKeys] = {
        &IO::KnownKey(IO::UsKeyNamed("UP")),    &IO::KnownKey(IO::UsKeyNamed("DOWN")),
        &IO::KnownKey(IO::UsKeyNamed("LEFT")),  &IO::KnownKey(IO::UsKeyNamed("RIGHT")),
        &IO::KnownKey(IO::UsKeyNamed("SPACE")), &IO::KnownKey(IO::UsKeyNamed("ESC")),
        &IO::KnownKey(IO::UsKeyNamed("ENTER")),
    };
    return IO::UsKeyRecord(*kKeys[static_cast<int>(key)], IO::KeyModifiers{}, down);
}

void PadKeys::Control(PadControl control, bool pressed, uint64_t nowMs, Records& out) {
    const uint16_t bit = Bit(control);
    if (((controls_ & bit) != 0) == pressed) return;   // no change: nothing to send
    controls_ ^= bit;
    uint16_t& holders = holders_[static_cast<int>(KeyOf(control))];
    const bool wasHeld = holders != 0;
    holders ^= bit;
    if (!wasHeld && holders != 0) Press(KeyOf(control), nowMs, out);
    else if (wasHeld && holders == 0) Release(KeyOf(control), out);
}

void PadKeys::Stick(bool vertical, int value, uint64_t nowMs, Records& out) {
    const PadControl less = vertical ? PadControl::StickUp : PadControl::StickLeft;
    const PadControl more = vertical ? PadControl::StickDown : PadControl::StickRight;
    // Going up first: a stick flung from one side to the other lets the old
    // key go before the new one goes down, as fingers on arrow keys do.
    if (value > -kStickDeadZone) Control(less, false, nowMs, out);
    if (value < kStickDeadZone) Control(more, false, nowMs, out);
    if (value <= -kStickPressed) Control(less, true, nowMs, out);
    if (value >= kStickPressed) Control(more, true, nowMs, out);
}

void PadKeys::Press(PadKey key, uint64_t nowMs, Records& out) {
    out.push_back(PadKeyRecord(key, true));
    repeating_ = key;
    nextRepeatMs_ = nowMs + kRepeatDelayMs;
}

void PadKeys::Release(PadKey key, Records& out) {
    out.push_back(PadKeyRecord(key, false));
    // As on a keyboard, a key still held does not take up the repeat again.
    if (repeating_ == key) repeating_.reset();
}

void PadKeys::Repeat(uint64_t nowMs, Records& out) {
    if (!repeating_ || nowMs < nextRepeatMs_) return;
    out.push_back(PadKeyRecord(*repeating_, true));
    nextRepeatMs_ += kRepeatPeriodMs;
    if (nextRepeatMs_ <= nowMs) nextRepeatMs_ = nowMs + kRepeatPeriodMs;
}

std::optional<uint64_t> PadKeys::NextRepeatMs() const {
    if (!repeating_) return std::nullopt;
    return nextRepeatMs_;
}

int PadKeys::WaitMs(uint64_t nowMs, int timeoutMs) const {
    if (!repeating_ || timeoutMs <= 0) return timeoutMs;
    if (nextRepeatMs_ <= nowMs) return 0;
    const uint64_t left = nextRepeatMs_ - nowMs;
    return left < static_cast<uint64_t>(timeoutMs) ? static_cast<int>(left) : timeoutMs;
}

void PadKeys::ReleaseAll(Records& out) {
    controls_ = 0;
    for (int k = 0; k < kPadKeys; ++k) {
        if (holders_[k] == 0) continue;
        holders_[k] = 0;
        Release(static_cast<PadKey>(k), out);
    }
}

bool SdlController::Start() {
    if (started_) return true;
    // The program reads the terminal's keys whether the window has the focus
    // or not; the controller is read the same way (SDL drops a controller's
    // events while none of its windows has the focus, by default).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The pump reads the controllers itself (Update). Left to SDL, an open
    // controller turns every wait for events into a check each millisecond:
    // an idle menu with a controller connected cost 3 % of a core.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    started_ = true;
    return true;
}

void SdlController::Stop() {
    if (!started_) return;
    if (pad_) SDL_GameControllerClose(static_cast<SDL_GameController*>(pad_));
    pad_ = nullptr;
    instance_ = -1;
    PadKeys::Records dropped;
    keys_.ReleaseAll(dropped);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started_ = false;
}

// The first game controller SDL knows, when none is open.
void SdlController::OpenFirst() {
    if (pad_) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        SDL_GameController* pad = SDL_GameControllerOpen(i);
        if (!pad) continue;
        pad_ = pad;
        instance_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        return;
    }
}

void SdlController::Post(const PadKeys::Records& records) {
    for (const IO::KeyRecord& record : records) {
        IO::InputEvent event;
        event.isKey = true;
        event.key = record;
        IO::PostInput(event);
    }
}

bool SdlController::Handle(const void* event) {
    if (!started_) return false;
    const SDL_Event& e = *static_cast<const SDL_Event*>(event);
    PadKeys::Records out;
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: OpenFirst(); return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pad_ && e.cdevice.which == instance_) {
            // Pulled mid-game: what it held goes up, then the next one takes over.
            keys_.ReleaseAll(out);
            Post(out);
            SDL_GameControllerClose(static_cast<SDL_GameController*>(pad_));
            pad_ = nullptr;
            instance_ = -1;
            OpenFirst();
        }
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (pad_ && e.cbutton.which == instance_) {
            if (const auto control = ControlOfButton(e.cbutton.button))
                keys_.Control(*control, e.cbutton.state == SDL_PRESSED, SDL_GetTicks64(), out);
            Post(out);
        }
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (pad_ && e.caxis.which == instance_ &&
            (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)) {
            keys_.Stick(e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY, e.caxis.value, SDL_GetTicks64(), out);
            Post(out);
        }
        return true;
    default: return false;
    }
}

void SdlController::Update() {
    if (started_) SDL_GameControllerUpdate();
}

int SdlController::LimitWait(int timeoutMs) const {
    const int wait = keys_.WaitMs(SDL_GetTicks64(), timeoutMs);
    return pad_ != nullptr && wait > kReadEveryMs ? kReadEveryMs : wait;
}

void SdlController::PostRepeats() {
    if (!keys_.NextRepeatMs()) return;
    PadKeys::Records out;
    keys_.Repeat(SDL_GetTicks64(), out);
    Post(out);
}

}  // namespace Graph::detail
