// The hardware presenting path (see SdlRenderer.h).
#include "platform/sdl/detail/SdlRenderer.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace Graph::detail {

namespace {

constexpr unsigned kGlRenderer = 0x1F01;   // GL_RENDERER

// The renderer's GL implementation name, where it draws through GL.
std::string GlRendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return "";
    if (std::strncmp(info.name, "opengl", 6) != 0) return info.name;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
}

bool IsSoftwareRasteriser(const std::string& name) {
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer", "software"})
        if (name.find(soft) != std::string::npos) return true;
    return name.empty();
}

// In the child: its own connection to the display, a hidden window and
// an accelerated renderer, and the name of what draws behind it.
bool ProbeHere() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    if (!probe) return false;
    SDL_Renderer* renderer = SDL_CreateRenderer(probe, -1, SDL_RENDERER_ACCELERATED);
    return renderer && !IsSoftwareRasteriser(GlRendererName(renderer));
}

}  // namespace

bool DisplayHasHardwareRenderer() {
    // How long the probe may take; a driver that takes longer counts as none.
    constexpr auto kLimit = std::chrono::seconds(10);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) _exit(ProbeHere() ? 0 : 1);   // the exit status is the answer
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + kLimit;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 || std::chrono::steady_clock::now() >= end) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

bool HardwarePresenter::Open(SDL_Window* window) {
    renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    return renderer_ != nullptr;
}

bool HardwarePresenter::Staging(int frameW, int frameH, Canvas& canvas) {
    if (!renderer_ || frameW <= 0 || frameH <= 0) return false;
    if (!texture_ || textureW_ != frameW || textureH_ != frameH) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, frameW, frameH);
        if (!texture_) return false;
        textureW_ = frameW;
        textureH_ = frameH;
        staging_.assign(static_cast<std::size_t>(frameW) * static_cast<std::size_t>(frameH), 0xFF000000u);
    }
    canvas = Canvas{reinterpret_cast<uint8_t*>(staging_.data()), frameW * 4, frameW, frameH};
    return true;
}

void HardwarePresenter::Show(const Layout& layout, const FrameArea& area) {
    if (!texture_) return;
    if (!area.Empty()) {
        const SDL_Rect changed{area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0};
        const uint32_t* first = staging_.data() + static_cast<std::size_t>(area.y0) * textureW_ + area.x0;
        SDL_UpdateTexture(texture_, &changed, first, textureW_ * 4);
    }
    const SDL_Rect source{0, 0, layout.shownW, layout.shownH};
    const SDL_Rect target{layout.offsetX, layout.offsetY, layout.shownW * layout.scale, layout.shownH * layout.scale};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, &source, &target);
    SDL_RenderPresent(renderer_);
}

void HardwarePresenter::Close() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
}

}  // namespace Graph::detail
