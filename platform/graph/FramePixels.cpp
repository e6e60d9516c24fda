// Converting published frames into window pixels (see FramePixels.h).
#include "platform/graph/FramePixels.h"

#include <algorithm>

namespace Graph {

Layout ComputeLayout(int clientW, int clientH, int frameW, int frameH, int scale, bool fullscreen) {
    Layout l;
    if (!fullscreen && scale <= 1) {
        l.shownW = std::clamp(clientW, 0, frameW);
        l.shownH = std::clamp(clientH, 0, frameH);
        return l;
    }
    // A full clear covers every column but the last and every row but the last.
    const int areaW = std::max(1, frameW - 1), areaH = std::max(1, frameH - 1);
    l.scale = std::max(1, scale);
    if (fullscreen) l.scale = std::max(1, std::min(clientW / areaW, clientH / areaH));
    l.shownW = std::clamp(clientW / l.scale, 0, areaW);
    l.shownH = std::clamp(clientH / l.scale, 0, areaH);
    l.offsetX = std::max(0, (clientW - l.shownW * l.scale) / 2);
    l.offsetY = std::max(0, (clientH - l.shownH * l.scale) / 2);
    return l;
}

void ScaledClientSize(int frameW, int frameH, int scale, int& w, int& h) {
    w = std::max(1, frameW - 1) * scale;
    h = std::max(1, frameH - 1) * scale;
}

int LargestScaleThatFits(int frameW, int frameH, int asked, int screenW, int screenH) {
    int oneW = 0, oneH = 0;
    ScaledClientSize(frameW, frameH, 1, oneW, oneH);
    const int fits = std::min(screenW / oneW, screenH / oneH);
    return std::clamp(fits, 1, std::max(1, asked));
}

ScaleChoice ChooseScale(int frameW, int frameH, int asked, int largest, int screenW, int screenH) {
    const bool known = screenW > 0 && screenH > 0;
    if (asked <= 0) return {known ? LargestScaleThatFits(frameW, frameH, largest, screenW, screenH) : 1, false};
    if (asked == 1 || !known) return {asked, false};
    const int fits = LargestScaleThatFits(frameW, frameH, asked, screenW, screenH);
    return {fits, fits != asked};
}

void ConvertSpan(const Pixels& frame, const uint32_t (&table)[256], const Layout& layout,
                 Canvas& canvas, int y, int x0, int x1) {
    const int s = layout.scale;
    x0 = std::max(0, x0);
    x1 = std::min({x1, layout.shownW, frame.width});
    if (x1 <= x0 || y < 0 || y >= std::min(layout.shownH, frame.height) || canvas.pixels == nullptr) return;
    const int outY = layout.offsetY + y * s;
    if (outY + s > canvas.h || layout.offsetX + x1 * s > canvas.w) return;
    const uint8_t* src = frame.Row(y);
    auto* first = reinterpret_cast<uint32_t*>(canvas.pixels + static_cast<std::ptrdiff_t>(outY) * canvas.pitch) +
                  layout.offsetX + x0 * s;
    if (s == 1) {
        for (int x = x0; x < x1; ++x) first[x - x0] = table[src[x]];
        return;
    }
    uint32_t* out = first;
    for (int x = x0; x < x1; ++x) {
        const uint32_t c = table[src[x]];
        for (int k = 0; k < s; ++k) *out++ = c;
    }
    // The other rows of the block repeat the first.
    const int wide = (x1 - x0) * s;
    for (int k = 1; k < s; ++k)
        std::copy(first, first + wide,
                  reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(first) + static_cast<std::ptrdiff_t>(k) * canvas.pitch));
}

void ConvertRows(const Pixels& frame, const uint32_t (&table)[256], const Layout& layout,
                 Canvas& canvas, int y0, int y1) {
    for (int y = std::max(0, y0); y < y1; ++y) ConvertSpan(frame, table, layout, canvas, y, 0, layout.shownW);
}

FrameArea ConvertChanges(const PublishedFrame& frame, const uint32_t (&table)[256], const Layout& layout,
                         Canvas& canvas) {
    FrameArea area{layout.shownW, layout.shownH, 0, 0};
    for (const ChangedRun& run : frame.runs) {
        const int x1 = std::min(run.x1, layout.shownW);
        if (run.y >= layout.shownH || x1 <= run.x0) continue;
        ConvertSpan(frame.pixels, table, layout, canvas, run.y, run.x0, x1);
        area.x0 = std::min(area.x0, run.x0);
        area.x1 = std::max(area.x1, x1);
        area.y0 = std::min(area.y0, run.y);
        area.y1 = run.y + 1;
    }
    return area;
}

}  // namespace Graph
