// X11 error handling for the SDL window (see SdlX11.h).
#include "platform/sdl/detail/SdlX11.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <atomic>
#include <unistd.h>
#include "platform/console/TerminalMode.h"
#include "platform/console/Waits.h"

namespace Graph::detail {

namespace {

std::atomic<unsigned long> watchedWindow{0};
std::atomic<bool> windowLost{false};

// Errors come asynchronously, long after the call that caused them; most
// are harmless for a window that only shows pictures. One about the
// watched window means another client destroyed it.
int OnXError(Display*, XErrorEvent* error) {
    const unsigned long watched = watchedWindow.load();
    if (watched != 0 && error->resourceid == watched &&
        (error->error_code == BadWindow || error->error_code == BadDrawable))
        windowLost.store(true);
    return 0;
}

// The connection is gone (the server died, or the client was killed).
// Xlib does not let this handler return, and the call it interrupted cannot
// be unwound: the run ends here, on the program's thread, after its last
// words (the recording's end line, the trace, the terminal restored).
int OnXIOError(Display*) {
    static const char message[] = "kyr: the connection to the display was lost\n";
    IO::TerminalMode::Restore();
    (void)!write(STDERR_FILENO, message, sizeof message - 1);
    Waits::EndAbruptly(1);
}


}  // namespace

// SDL keeps the error handler it finds when its video starts and puts it
// back when its video ends, just before closing its connections. Errors
// still pending then (requests about a window another client destroyed)
// must reach this handler, not Xlib's default, which prints them and ends
// the process: so these go in before SDL starts. They are only
// ever called for X connections; other video drivers never see them.
void GuardX11Display() {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

void WatchX11Window(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    watchedWindow.store(info.info.x11.window);
    windowLost.store(false);
}

void NoteX11Event(const SDL_Event& event) {
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type == DestroyNotify && x.xdestroywindow.window == watchedWindow.load()) windowLost.store(true);
}

bool X11WindowLost() { return windowLost.load(); }

}  // namespace Graph::detail
