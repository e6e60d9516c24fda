// Graph's life cycle: module initialisation and finaliser, opening the window
// (window, surfaces, palette and defaults), closing it, and carrying out each
// request the moment it is posted. Everything runs on the program's thread:
// a request carried out at once is trivially the one outstanding request,
// and requests reach the back buffer in the order they were posted.
#include "platform/graph/Graph.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "platform/graph/GraphFrames.h"
#include "platform/graph/detail/GraphCaller.h"
#include "platform/graph/detail/GraphService.h"
#include "platform/graph/raster/Raster.h"

namespace Graph {

CARDINAL Width = 0;
CARDINAL Depth = 0;
CARDINAL Columns = 0;
CARDINAL Rows = 0;
CARDINAL NumPColor = 0;

void Pixels::Allocate(int32_t w, int32_t h) {
    width = w;
    height = h;
    pitch = Raster::PreferredPitch(w);
    data.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(h), 0);
}

void Pixels::Release() {
    std::vector<uint8_t>().swap(data);
    width = height = pitch = 0;
}

Raster::Surface Pixels::View() {
    return Raster::Surface{data.empty() ? nullptr : data.data(), width, height, pitch};
}

const PublishedFrame& WindowSurface() { return detail::TheService().window; }

namespace detail {

Service& TheService() {
    static Service* service = new Service;   // never destroyed: usable during exit
    return *service;
}

CallerState& Caller() {
    static CallerState* state = new CallerState;
    return *state;
}

namespace {

void CreateSurfaces(Service& sv, int32_t width, int32_t height) {
    sv.back.Allocate(width, height);
    PublishedFrame& shown = sv.window;
    shown.pixels.Allocate(width, height);
    shown.runs.clear();
    shown.allChanged = true;
}

// The window gets the palette with the next published frame.
void InstallPalette(Service& sv, const Request& r) {
    // A palette without entries cannot be made: nothing changes.
    const uint32_t n = std::min<uint32_t>(r.paletteCount, kPaletteCapacity);
    if (n == 0) return;
    std::memcpy(sv.backPalette.colours, r.palette, n * sizeof(uint32_t));
    sv.backPalette.count = n;
}

}  // namespace

void Carry(Service& sv, const Request& r) {
    switch (r.op) {
    case OP_SURFACES:
        CreateSurfaces(sv, static_cast<int32_t>(r.word[0]), static_cast<int32_t>(r.word[1]));
        break;
    case OP_PALETTE: InstallPalette(sv, r); break;
    case OP_LINESTYLE:
    case OP_FILLMASK: ApplySetting(r, sv.draw); break;
    default:
        if (DrawsOnTheBackBuffer(r.op)) {
            ApplySetting(r, sv.draw);
            Raster::Surface s = sv.back.View();
            if (s.pixels) Paint(r, sv.draw, s);
        }
        break;
    }
}

Request* TakeRecord() {
    static Request record;
    return TheService().drawing ? &record : nullptr;
}

void Post(Request& r) {
    CallerState& cs = Caller();
    if (cs.trace) {
        const std::string line = TraceLine(r);
        std::fputs(line.c_str(), cs.trace);
        std::fputc('\n', cs.trace);
    }
    ++cs.posted;
    Carry(TheService(), r);
}

void PostWords(uint8_t op, uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3, uint32_t w4,
               bool flag) {
    Request* r = TakeRecord();
    if (!r) return;
    r->op = op;
    r->word[0] = w0;
    r->word[1] = w1;
    r->word[2] = w2;
    r->word[3] = w3;
    r->word[4] = w4;
    r->flag = flag;
    Post(*r);
}

namespace {

// Runs closer than this many columns are joined into one.
constexpr int32_t kRunGap = 32;

uint64_t Word(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Copies the runs of row y in which `from` differs from `to`, compared
// eight pixels at a time, and lists them.
void CopyRowRuns(const uint8_t* from, uint8_t* to, int32_t width, int32_t y, std::vector<ChangedRun>& runs) {
    constexpr int32_t kStep = 8;
    ChangedRun run{y, 0, -1};
    for (int32_t x = 0; x < width; x += kStep) {
        const int32_t end = x + kStep <= width ? x + kStep : width;
        const bool differs = end - x == kStep ? Word(from + x) != Word(to + x)
                                              : std::memcmp(from + x, to + x, static_cast<std::size_t>(end - x)) != 0;
        if (!differs) continue;
        if (run.x1 >= 0 && x - run.x1 < kRunGap) {
            run.x1 = end;
            continue;
        }
        if (run.x1 >= 0) runs.push_back(run);
        run.x0 = x;
        run.x1 = end;
    }
    if (run.x1 >= 0) runs.push_back(run);
    for (auto r = runs.rbegin(); r != runs.rend() && r->y == y; ++r)
        std::memcpy(to + r->x0, from + r->x0, static_cast<std::size_t>(r->x1 - r->x0));
}

// Copies what changed in the back buffer to the window surface and lists
// it. The game clears the whole window every frame, so what was drawn since
// the last frame says little; comparing says exactly what the window must
// change.
void CopyChangedRuns(Service& sv) {
    PublishedFrame& shown = sv.window;
    const Pixels& back = sv.back;
    shown.runs.clear();
    if (back.data.empty() || shown.pixels.data.size() != back.data.size()) return;
    if (std::memcmp(&shown.palette, &sv.backPalette, sizeof shown.palette) != 0) {
        shown.palette = sv.backPalette;
        shown.allChanged = true;
    }
    const auto width = static_cast<std::size_t>(back.width);
    for (int32_t y = 0; y < back.height; ++y) {
        const uint8_t* from = back.Row(y);
        uint8_t* to = shown.pixels.Row(y);
        if (std::memcmp(to, from, width) != 0) CopyRowRuns(from, to, back.width, y, shown.runs);
    }
}

// Inverts the cell at the text position: how the cursor is shown and hidden.
void InvertCursorCell() {
    const CallerState& cs = Caller();
    const uint32_t x1 = (cs.text.column - 1) * cs.cellWidth;
    const uint32_t y1 = (cs.text.row - 1) * cs.cellHeight;
    PostWords(OP_INVERT, x1, y1, cs.text.column * cs.cellWidth - 1,
              cs.text.row * cs.cellHeight - 1);
}

}  // namespace

void HideCursor() {
    CallerState& cs = Caller();
    if (!cs.cursorShown) return;
    InvertCursorCell();
    cs.cursorShown = false;
}

void RestoreCursor() {
    CallerState& cs = Caller();
    if (!cs.cursorWanted || cs.cursorShown) return;
    InvertCursorCell();
    cs.cursorShown = true;
}

namespace {

constexpr int32_t kMaxSurfaceSide = 8192;

void ShowMessage(const char* text) {
    const WindowSystem& ws = Caller().system;
    if (ws.showMessage) ws.showMessage(text);
    else std::fprintf(stderr, "%s\n", text);
}

// The display counts as 32 bits per pixel: 2^32 colours, which a CARDINAL
// cannot hold, so the count saturates instead of wrapping to 0.
CARDINAL DisplayColourCount() {
    constexpr unsigned kBitsPerPixel = 32;
    return kBitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << kBitsPerPixel);
}

int32_t SurfaceSide(INTEGER requested) {
    if (requested < 1) return 1;
    return requested > kMaxSurfaceSide ? kMaxSurfaceSide : requested;
}

void FinishAtExit() {
    if (Caller().moduleReady) ModuleExit();
}

void UseFontMetrics() {
    CallerState& cs = Caller();
    const Raster::FontMetrics m = Raster::Font();
    cs.cellWidth = m.maxWidth > 0 ? static_cast<uint32_t>(m.maxWidth) : 1;
    cs.cellHeight = m.height > 0 ? static_cast<uint32_t>(m.height) : 1;
    cs.descent = m.descent > 0 ? static_cast<uint32_t>(m.descent) : 0;
    Columns = Width / cs.cellWidth;
    Rows = Depth > cs.descent ? (Depth - cs.descent) / cs.cellHeight : 0;
}

void CloseWindow() {
    CallerState& cs = Caller();
    if (cs.backend && cs.windowOpen) cs.backend->Close();
    cs.windowOpen = false;
}

}  // namespace
}  // namespace detail

using namespace detail;

void PublishFrame() {
    CallerState& cs = Caller();
    if (cs.posted == cs.postedAtPublish) return;
    Service& sv = TheService();
    if (!sv.drawing) return;
    cs.postedAtPublish = cs.posted;
    if (!cs.backend || !cs.windowOpen || !cs.backend->ShowsFrames()) return;
    CopyChangedRuns(sv);
    sv.frames.fetch_add(1, std::memory_order_relaxed);
    cs.backend->Present(sv.window);
    sv.window.allChanged = false;
}

uint64_t RequestsPosted() { return Caller().posted; }

uint64_t FramesPublished() { return TheService().frames.load(std::memory_order_relaxed); }

void SetWindowSystem(const WindowSystem& system) { Caller().system = system; }

void ModuleInit() {
    CallerState& cs = Caller();
    if (cs.moduleReady) return;
    static bool finisherRegistered = false;
    if (!finisherRegistered) finisherRegistered = std::atexit(FinishAtExit) == 0;
    NumPColor = DisplayColourCount();
    cs.bkColour = 0;
    cs.stdMask = PATSYM_SOLID;
    cs.useStdMask = true;
    for (uint8_t& b : cs.customMask) b = 0;
    TheService().draw = DrawState{};
    cs.created = false;
    cs.cursorWanted = cs.cursorShown = false;
    cs.moduleReady = true;
}

void ModuleExit() {
    CallerState& cs = Caller();
    if (!cs.moduleReady) return;
    if (cs.created) Exit();
    CloseWindow();
    cs.backend.reset();
    Service& sv = TheService();
    sv.drawing = false;
    sv.window = PublishedFrame{};
    sv.back.Release();
    sv.backPalette = Palette{};
    cs.trace = nullptr;
    cs.moduleReady = false;
}

BOOLEAN Init(INTEGER left, INTEGER top, INTEGER width, INTEGER height) {
    CallerState& cs = Caller();
    if (!cs.moduleReady) ModuleInit();
    if (cs.created) {
        ShowMessage("Graph window was already created");
        return false;
    }
    cs.created = true;
    Width = static_cast<CARDINAL>(SurfaceSide(width));
    Depth = static_cast<CARDINAL>(SurfaceSide(height));
    cs.placement = WindowPlacement{left, top, width, height};
    CloseWindow();  // an earlier window, closed by Exit
    cs.backend = cs.system.make ? cs.system.make() : OffscreenWindowSystem().make();
    if (!cs.backend->Open(cs.placement)) {
        cs.backend.reset();
        return false;
    }
    cs.windowOpen = true;
    TheService().drawing = true;

    PostWords(OP_SURFACES, Width, Depth);
    NumPColor = DisplayColourCount();
    InitStdPalette();
    SetLineStyle(LNSTYLE_SOLID);
    SetBkMix(true);
    SetBkColor(0);
    ClearScreen(0);
    UseFontMetrics();
    SetTextWindow(1, 1, Columns, Rows);
    return true;
}

void Exit() {
    CallerState& cs = Caller();
    if (!cs.created) return;
    cs.created = false;
    CloseWindow();
}

}  // namespace Graph
