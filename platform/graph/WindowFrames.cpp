// Choosing and copying the picture a real window shows (see WindowFrames.h).
#include "platform/graph/WindowFrames.h"

#include <algorithm>

namespace Graph::detail {

FrameChoice ChooseFrame(const FrameTimes& t) {
    if (!t.completedValid || t.liveShownSinceClear) return FrameChoice::Live;
    if (t.nowNs - t.lastActivityNs >= kQuietNs) return FrameChoice::Live;
    const int64_t wait = std::clamp<int64_t>(3 * t.clearIntervalNs, kMinClearWaitNs, kMaxClearWaitNs);
    if (t.nowNs - t.lastClearNs >= wait) return FrameChoice::Live;
    return FrameChoice::Completed;
}

bool FramePicker::Take(FrameCopy& out, bool force, int64_t nowNs) {
    Service& sv = TheService();
    std::lock_guard<std::mutex> lock(sv.windowLock);
    const FrameLog& log = sv.frames;
    FrameTimes t;
    t.nowNs = nowNs;
    // Drawing is timed by when this thread sees it progress: cheaper for the
    // drawing thread than reading the clock for every request.
    const uint64_t done = sv.requestsDone.load(std::memory_order_relaxed);
    if (done != requestsSeen_) {
        requestsSeen_ = done;
        lastActivityNs_ = nowNs;
    }
    t.lastActivityNs = lastActivityNs_;
    t.lastClearNs = log.lastClearNs;
    t.clearIntervalNs = log.clearIntervalNs;
    t.completedValid = log.completedValid;
    t.liveShownSinceClear = liveAfterClear_ == log.clearSerial;
    const FrameChoice choice = ChooseFrame(t);
    if (choice == FrameChoice::Live) liveAfterClear_ = log.clearSerial;

    const bool same = taken_ && choice == lastChoice_ && log.clearSerial == lastClearSerial_ &&
                      log.paletteSerial == lastPaletteSerial_ &&
                      (choice == FrameChoice::Completed || log.changeSerial == lastChangeSerial_);
    if (same && !force) return false;
    const Pixels& source = choice == FrameChoice::Live ? sv.window : sv.completed;
    out.pixels = source.data;
    out.width = source.width;
    out.height = source.height;
    out.pitch = source.pitch;
    out.palette = sv.windowPalette;
    taken_ = true;
    lastChoice_ = choice;
    lastClearSerial_ = log.clearSerial;
    lastChangeSerial_ = log.changeSerial;
    lastPaletteSerial_ = log.paletteSerial;
    return true;
}

}  // namespace Graph::detail
