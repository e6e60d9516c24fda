// The surfaces of Graph and the drawing settings they are painted with.
// Private to platform/graph. Everything here belongs to the program's
// thread: each request is carried out on the back buffer the moment it is
// posted, and a published frame is copied to the window surface.
#pragma once
#include <atomic>
#include <cstdint>
#include "platform/graph/detail/GraphRequest.h"
#include "platform/graph/WindowSurface.h"

namespace Graph::detail {

// The surfaces' types are the window surface's (platform/graph/WindowSurface.h).
using Graph::Palette;
using Graph::Pixels;
using Graph::PublishedFrame;

struct Service {
    bool drawing = false;          // surfaces exist: requests are carried out
    DrawState draw;                // pen and brush settings
    Pixels back;                   // the back buffer
    Palette backPalette;
    PublishedFrame window;         // the frame published last
    std::atomic<uint64_t> frames{0};   // frames published so far
};

Service& TheService();

// Carries one request out: settings once, shapes on the back buffer.
void Carry(Service& sv, const Request& r);

}  // namespace Graph::detail
