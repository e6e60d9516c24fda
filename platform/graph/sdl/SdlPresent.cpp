// Converting published frames into window pixels (see SdlPresent.h).
#include "platform/graph/sdl/detail/SdlPresent.h"

#include <algorithm>

namespace Graph::detail {

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

void ConvertRows(const Pixels& frame, const uint32_t (&table)[256], const Layout& layout,
                 Canvas& canvas, int y0, int y1) {
    const int s = layout.scale;
    y1 = std::min({y1, layout.shownH, frame.height});
    const int w = std::min(layout.shownW, frame.width);
    if (w <= 0 || canvas.pixels == nullptr) return;
    for (int y = std::max(0, y0); y < y1; ++y) {
        const int outY = layout.offsetY + y * s;
        if (outY + s > canvas.h || layout.offsetX + w * s > canvas.w) return;
        const uint8_t* src = frame.Row(y);
        auto* first = reinterpret_cast<uint32_t*>(canvas.pixels + static_cast<std::ptrdiff_t>(outY) * canvas.pitch) +
                      layout.offsetX;
        if (s == 1) {
            for (int x = 0; x < w; ++x) first[x] = table[src[x]];
            continue;
        }
        uint32_t* out = first;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = table[src[x]];
            for (int k = 0; k < s; ++k) *out++ = c;
        }
        // The other rows of the block repeat the first.
        for (int k = 1; k < s; ++k)
            std::copy(first, first + w * s,
                      reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(first) + static_cast<std::ptrdiff_t>(k) * canvas.pitch));
    }
}

std::vector<RowBand> TakeChangedBands(PublishedFrame& frame, int rows, bool all) {
    std::vector<RowBand> bands;
    all = all || frame.allChanged;
    frame.allChanged = false;
    std::vector<uint8_t>& changed = frame.rowChanged;
    rows = std::min(rows, static_cast<int>(changed.size()));
    constexpr int kJoinGap = 16;
    int y = 0;
    while (y < rows) {
        if (!all && !changed[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        const int first = y;
        int end = y + 1;
        for (int next = end; next < rows && next < end + kJoinGap; ++next)
            if (all || changed[static_cast<std::size_t>(next)]) end = next + 1;
        bands.push_back(RowBand{first, end});
        y = end;
    }
    std::fill(changed.begin(), changed.end(), 0);
    return bands;
}

}  // namespace Graph::detail
