// The web page's canvas as the program's window (WebAssembly only): it shows
// the published frames, and its event pump lets the browser run while the
// program waits, which is when the page's key events arrive. The page's own
// script (webpage/page.js) draws on the canvas and calls back into the program.
#pragma once
#include "platform/graph/WindowBackend.h"

namespace Web {

// Chooses the page's canvas as the window for the next Graph::Init.
void UseWebCanvas();

// The program has ended with `status`: the page says so and offers to start again.
void SayProgramEnded(int status);

}  // namespace Web
