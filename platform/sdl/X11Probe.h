// Whether the X display answers at all, asked before SDL's video starts.
// The window opens on the program's only thread, and Xlib's XOpenDisplay
// waits for ever on a display that takes the connection and never replies
// (a stuck or fake server); this probe gives up after a limit instead.
// Plain sockets, no Xlib.
#pragma once
#include <string>

namespace Graph::detail {

// Connects to the X display `display` (DISPLAY syntax: ":N", ":N.S",
// "unix:N", "host:N", "host/unix:N" ...) and sends the X11 connection setup.
// True when the server answers (any reply: success, failure or
// authenticate) within `limitMs`, or when there is nothing to wait for
// (`display` null, empty or unparsable, no such socket or host, connection
// refused or dropped: the window system reports those itself). False when a
// server was found but did not take the connection, or took it and sent
// nothing back, within the limit; `why` then says which.
bool X11DisplayAnswers(const char* display, int limitMs, std::string& why);

}  // namespace Graph::detail
