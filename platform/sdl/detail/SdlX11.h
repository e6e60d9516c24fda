// Keeping the program alive when the X display misbehaves. Xlib's own
// handlers end the process on any error; these handlers instead ignore
// errors (noting when they say the window is gone) and, when the connection
// is lost, end the run with status 1, a plain message and the runtime's
// last words (Waits::EndAbruptly). Nothing happens on other video drivers.
#pragma once
#include <SDL2/SDL.h>

namespace Graph::detail {

// Before SDL's video starts: installs the handlers (Xlib's are process-wide).
void GuardX11Display();
// Notes the window whose destruction by another client ends the program.
void WatchX11Window(SDL_Window* window);
// A window-system event SDL passes on: notes the watched window's destruction.
void NoteX11Event(const SDL_Event& event);
// True once the watched window was destroyed by someone else.
bool X11WindowLost();

}  // namespace Graph::detail
