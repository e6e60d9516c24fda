// The SDL window for Graph: the game program calls UseSdlWindow() before
// Graph::Init. Without it Graph opens no window (the offscreen default).
#pragma once
#include "platform/graph/WindowBackend.h"

namespace Graph {

void UseSdlWindow();
WindowSystem SdlWindowSystem();

}  // namespace Graph
