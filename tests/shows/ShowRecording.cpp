#include "tests/shows/ShowRecording.h"

#include <cstdlib>

#include "engine3d/QX3D.h"
#include "platform/console/Clock.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/InputQueue.h"
#include "tests/support/FakeClock.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TempFiles.h"
#include "tools/golden/GoldenTrace.h"

namespace showtest {
namespace {

testsupport::FakeClock clock;

}  // namespace

void PrepareShow(int second) {
    static bool prepared = false;
    if (!prepared) {
        if (!testsupport::OffscreenGraphForProcess()) std::abort();
        Lib::ModuleInit();
        clock.wall = {2026, 12, 7, 12, 0, 5, 370, 0, true, false};
        Clock::Use(clock);
        prepared = true;
    }
    clock.wall.second = second;
    QX3D::Init3D(1025, 730, 60);
    IO::ClearInput();
}

std::vector<TraceText> Frame::Texts() const { return testsupport::TextsOf(lines); }

std::vector<std::string> Frame::Requests(const char* name) const {
    return testsupport::LinesStartingWith(lines, std::string(name) + ' ');
}

std::vector<Frame> Record(void (*sequence)()) {
    testsupport::TraceRecorder trace(clock);
    sequence();
    std::vector<Frame> recording(1);
    for (const std::string& line : trace.Stop()) {
        if (line.rfind("wait ", 0) != 0) {
            recording.back().lines.push_back(line);
        } else {
            recording.back().waitMs = std::stoull(line.substr(5)) / 1000;
            recording.emplace_back();
        }
    }
    if (recording.back().lines.empty()) recording.pop_back();
    return recording;
}

std::vector<const Frame*> FramesWaiting(const std::vector<Frame>& recording, uint64_t ms) {
    std::vector<const Frame*> found;
    for (const Frame& f : recording)
        if (f.waitMs == ms) found.push_back(&f);
    return found;
}

uint64_t TotalWaitMs(const std::vector<Frame>& recording) {
    uint64_t sum = 0;
    for (const Frame& f : recording) sum += f.waitMs;
    return sum;
}

std::string DifferenceFromGolden(const char* show, const std::vector<Frame>& recording) {
    const std::string path = std::string(KYR_GOLDEN_TRACES "/") + show + ".golden";
    Golden::Trace golden, recorded;
    std::string error;
    if (!Golden::ParseTrace(testsupport::ReadFile(path), golden, error)) return path + ": " + error;
    if (golden.frames.empty() || !golden.frames[0].full) return path + ": no first frame";
    for (const Frame& frame : recording) {
        if (frame.lines.empty() && &frame != &recording.front()) continue;   // a wait after no drawing shows no new frame
        const std::size_t i = recorded.frames.size();
        Golden::Frame f;
        f.lines = frame.lines;
        const bool marked = i < golden.frames.size() && !golden.frames[i].mark.empty();
        if (i == 0) {
            const std::vector<std::string>& first = golden.frames[0].lines;
            const std::size_t requests = first.size() - (marked ? 1 : 0);
            const std::size_t before = requests > f.lines.size() ? requests - f.lines.size() : 0;
            f.lines.insert(f.lines.begin(), first.begin(), first.begin() + static_cast<std::ptrdiff_t>(before));
        }
        if (marked) f.lines.push_back(golden.frames[i].mark);
        Golden::Close(f);
        recorded.frames.push_back(f);
    }
    return Golden::FirstDifference(golden, recorded);
}

}  // namespace showtest
