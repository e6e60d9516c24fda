// What the X display is like, asked before SDL's video starts.
// The window opens on the program's only thread, and Xlib's XOpenDisplay
// waits for ever on a display that takes the connection and never replies
// (a stuck or fake server); this probe gives up after a limit instead.
// It also knows when nothing is there at all, and why, which SDL's own
// failure ("x11 not available") does not say. Plain sockets, no Xlib.
#pragma once
#include <string>

namespace Graph::detail {

struct X11ProbeResult {
    enum class Outcome {
        Answered,  // a server answered (any reply: success, failure or authenticate) or hung up
        NotAsked,  // no display name, or one the probe cannot parse: the window system judges
        NoServer,  // nothing listens at any place the name leads to
        Silent,    // a server was found but did not take the connection, or took it and sent nothing
    };
    Outcome outcome = Outcome::NotAsked;
    // NoServer: where the probe last looked and the error, e.g.
    // "no X server at /tmp/.X11-unix/X5: No such file or directory".
    // Silent: which of the two it was, and the limit.
    std::string why;
};

// Connects to the X display `display` (DISPLAY syntax: ":N", ":N.S",
// "unix:N", "host:N", "host/unix:N" ...) and sends the X11 connection setup,
// waiting no longer than `limitMs` in all (the name lookup of a host aside).
X11ProbeResult ProbeX11Display(const char* display, int limitMs);

}  // namespace Graph::detail
