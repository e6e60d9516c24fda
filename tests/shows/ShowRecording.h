// The presentation sequences' tests share this: the offscreen window and a
// fake clock set up for a sequence, and a recording of the sequence's
// request trace cut into frames at its waits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graph/Kleuren.h"
#include "tests/support/Keys.h"
#include "tests/support/TraceRecorder.h"

namespace showtest {

using testsupport::FirstQueuedCharacter;
using testsupport::PostKeyDown;
using testsupport::TraceText;

// Opens the offscreen window once, sets the engine to the start-up setting,
// empties the key queue and installs the fake clock at second `second`.
void PrepareShow(int second = 5);

// The requests posted up to one wait, and that wait in milliseconds.
struct Frame {
    std::vector<std::string> lines;
    uint64_t waitMs = 0;
    std::vector<TraceText> Texts() const;
    std::vector<std::string> Requests(const char* name) const;   // e.g. "line", "rect"
};

// Runs the sequence and cuts its request trace at every wait.
std::vector<Frame> Record(void (*sequence)());
// The frames that end in a wait of `ms`, in order.
std::vector<const Frame*> FramesWaiting(const std::vector<Frame>& recording, uint64_t ms);
uint64_t TotalWaitMs(const std::vector<Frame>& recording);

// The first difference between a recording and the whole program's golden
// trace of the same show (tests/golden/traces/SHOW.golden), empty when every
// frame agrees. The program draws Graph's set-up or the menu in the show's
// first frame before the show begins: the golden's first frame only has to
// end in the recording's first frame. The times of the frames are not
// compared, and a wait after no drawing shows no new frame. The intro and the
// outro draw alike in both: the intro seeds its stars from the clock, which
// reads 12:00:05.37 in both; the credits and the demo take stars from the
// generator in whatever state the program or the earlier tests left it.
std::string DifferenceFromGolden(const char* show, const std::vector<Frame>& recording);

inline const std::string kClearScreen = "rect 0 0 1025 730 0 fill";

}  // namespace showtest
