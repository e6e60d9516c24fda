// Presenting through the display's hardware: an SDL renderer with a
// streaming texture, scaled by the graphics hardware with nearest-pixel
// sampling. Used where the display has real hardware (a software rasteriser
// behind an accelerated interface, as a virtual display has, counts as
// software), or when the player forces it.
#pragma once
#include <SDL2/SDL.h>
#include <cstdint>
#include <vector>
#include "platform/graph/FramePixels.h"

namespace Graph::detail {

// True when the display offers a renderer that draws with real hardware.
// Probes with a hidden window of its own, in a child process of its own:
// the graphics driver it loads (and the threads a software one starts) go
// with the child. Call it before SDL's video starts in this process.
bool DisplayHasHardwareRenderer();

class HardwarePresenter {
public:
    // Opens an accelerated renderer on the window; false (and inactive) when
    // there is none.
    bool Open(SDL_Window* window);
    bool Active() const { return renderer_ != nullptr; }
    SDL_Renderer* Renderer() const { return renderer_; }
    // Staging pixels for the frame's rows at scale 1, as wide as the frame.
    bool Staging(int frameW, int frameH, Canvas& canvas);
    // Uploads `area` of the staged frame (only what changed) and shows the
    // picture as `layout` places it.
    void Show(const Layout& layout, const FrameArea& area);
    void Close();

private:
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureW_ = 0, textureH_ = 0;
    std::vector<uint32_t> staging_;
};

}  // namespace Graph::detail
