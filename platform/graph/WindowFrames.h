// Which picture a real window shows. The program redraws most screens by
// clearing the whole window and drawing the frame again, so the window
// surface is often half drawn. The window thread therefore shows the picture
// as it stood just before the latest full clear while frames are being
// drawn, and the live surface once drawing has come to rest or frames stop
// clearing (screens that erase by overdrawing).
#pragma once
#include <cstdint>
#include <vector>
#include "platform/graph/GraphService.h"

namespace Graph::detail {

enum class FrameChoice { Live, Completed };

struct FrameTimes {
    int64_t nowNs = 0;
    int64_t lastActivityNs = 0;      // when the drawing thread was last seen finishing a request
    int64_t lastClearNs = 0;         // the latest full clear
    int64_t clearIntervalNs = 0;     // between the two latest full clears (0: one clear so far)
    bool completedValid = false;     // a picture before a full clear is kept
    bool liveShownSinceClear = false;
};

// Drawing that pauses this long has finished its picture.
inline constexpr int64_t kQuietNs = 50'000'000;
// How long after a clear the next clear is awaited: a few frame times, within these bounds.
inline constexpr int64_t kMinClearWaitNs = 50'000'000;
inline constexpr int64_t kMaxClearWaitNs = 1'000'000'000;

FrameChoice ChooseFrame(const FrameTimes& t);

// A copy of the picture to show, with its palette; rows `pitch` bytes apart,
// as on the surface it was copied from.
struct FrameCopy {
    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    Palette palette;
};

// The window thread's memory of what it showed last.
class FramePicker {
public:
    // Copies the picture to show at `nowNs` (steady clock) into `out`.
    // Returns false, copying nothing, when it is the one taken last time,
    // unless `force`.
    bool Take(FrameCopy& out, bool force, int64_t nowNs);
    bool Take(FrameCopy& out, bool force) { return Take(out, force, NowNs()); }

private:
    uint64_t requestsSeen_ = 0;
    int64_t lastActivityNs_ = 0;              // when requestsSeen_ last changed
    uint64_t liveAfterClear_ = ~uint64_t{0};   // clear serial for which the live surface was shown
    bool taken_ = false;
    FrameChoice lastChoice_ = FrameChoice::Live;
    uint64_t lastClearSerial_ = 0;
    uint64_t lastChangeSerial_ = 0;
    uint64_t lastPaletteSerial_ = 0;
};

}  // namespace Graph::detail
