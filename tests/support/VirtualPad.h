// A game controller made of nothing: SDL's virtual joystick, described as
// a game controller so that SDL's controller layer maps it, its buttons and
// axes numbered as SDL_GameControllerButton and SDL_GameControllerAxis. A
// test presses its buttons and moves its sticks; the program's own code
// sees a controller plugged in. Needs SDL's joystick subsystem started (the
// SDL window starts it when it reads controllers).
#pragma once
#include <SDL2/SDL.h>
#include <string>

namespace testsupport {

class VirtualPad {
public:
    VirtualPad() = default;
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    ~VirtualPad() { Pull(); }

    // Plugs the pad in; false (with SDL's reason in Why()) when SDL would not.
    bool PlugIn() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "KYR test pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ < 0) return Failed();
        if (!SDL_IsGameController(index_)) {
            // Where SDL has no mapping of its own for a virtual pad: one
            // naming the buttons and axes in SDL's own order.
            char guid[64];
            SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index_), guid, sizeof guid);
            const std::string mapping = std::string(guid) +
                ",KYR test pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,leftstick:b7,rightstick:b8,"
                "leftshoulder:b9,rightshoulder:b10,dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,"
                "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5,";
            if (SDL_GameControllerAddMapping(mapping.c_str()) < 0 || !SDL_IsGameController(index_)) return Failed();
        }
        joystick_ = SDL_JoystickOpen(index_);
        if (!joystick_) return Failed();
        instance_ = SDL_JoystickInstanceID(joystick_);
        return true;
    }

    // Pulls it out; the program hears of it at its next pump.
    void Pull() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        SDL_JoystickDetachVirtual(index_);
        index_ = -1;
    }

    // Whether somebody opened it as a game controller (the program has taken it).
    bool TakenAsController() const { return joystick_ && SDL_GameControllerFromInstanceID(instance_) != nullptr; }

    // Takes effect at the next pump of SDL's events.
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
    }

    const std::string& Why() const { return why_; }

private:
    bool Failed() {
        why_ = SDL_GetError();
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        index_ = -1;
        return false;
    }

    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instance_ = -1;
    std::string why_;
};

}  // namespace testsupport
