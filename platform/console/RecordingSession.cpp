// The recorder and the player of a session (see Recording.h).
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/console/NamedFiles.h"
#include "platform/console/QuotedText.h"
#include "platform/console/Recording.h"
#include "platform/console/SysClockTap.h"
#include "platform/console/Waits.h"

namespace Recording {
namespace {

// ---- The recorder ----

struct RecorderState {
    int fd = -1;                           // opened for appending: every line is one write
    std::string path;                      // where the recording goes when the run ends
    std::string replaced;                  // the file it replaces at the end (links followed); empty when written in place
    std::string partialPath;               // where it is written until then
    std::string who;                       // the program, for messages
    bool ended = false;                    // the end line is written once
    bool failed = false;                   // a write failed (said once)
    std::atomic<uint64_t> drawn{0};        // drawing requests posted by the last wait
};
RecorderState recorder;

// Writes the whole text with one write where it can, so that a line is
// whole in the file even when the run is cut off right after it.
bool WriteAll(const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t n = write(recorder.fd, text, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text += n;
        length -= std::size_t(n);
    }
    return true;
}

void Write(const std::string& text) {
    if (recorder.fd < 0 || WriteAll(text.data(), text.size()) || recorder.failed) return;
    recorder.failed = true;
    std::fprintf(stderr, "%s: cannot write recording %s: %s\n", recorder.who.c_str(),
                 IO::QuotedText(recorder.path, '"').c_str(), std::strerror(errno));
}

void RecordClock(const SysClock::DateTime& dt) { Write(ClockLine(dt)); }

// A run stopped from outside stops at a wait; a replay stops at the same one.
void NoteWait() { recorder.drawn.store(Waits::RequestsPosted()); }

void RecordDelivery(uint64_t poll, const std::vector<IO::InputEvent>& events) {
    std::string lines;
    for (const IO::InputEvent& e : events) lines += EventLine(poll, e);
    Write(lines);
}

// ---- The player ----

class Player final : public IO::InputFeed {
public:
    void Start(Session session, std::string who, EndProgram end) {
        s_ = std::move(session);
        who_ = std::move(who);
        end_ = end;
        lastPoll_ = s_.events.empty() ? 0 : s_.events.back().poll;
        events_ = EventLog::Reader(s_.events);
        clocks_ = ClockLog::Reader(s_.clocks);
    }

    void EventsForPoll(uint64_t poll, std::vector<IO::InputEvent>& events) override {
        if (s_.end && poll > s_.end->poll) PassedTheEnd();
        if (!s_.end && poll > lastPoll_) RanOut("poll " + std::to_string(poll));
        for (const PolledEvent* next; (next = events_.Peek()) != nullptr && next->poll == poll; events_.Pop())
            events.push_back(next->event);
    }

    // A run that did not end by itself stopped at a wait.
    void AtWait() {
        if (!s_.end || s_.end->kind == EndKind::Exit) return;
        if (IO::PollNumber() == s_.end->poll && Waits::RequestsPosted() >= s_.end->requests) ReachedEnd();
    }

    void Exhausted(uint64_t poll) override {
        if (s_.end && poll == s_.end->poll) PassedTheEnd();
        RanOut("a key at poll " + std::to_string(poll));
    }

    void Supply(SysClock::DateTime& dt) {
        if (const SysClock::DateTime* next = clocks_.Peek()) {
            dt = *next;
            clocks_.Pop();
            return;
        }
        RanOut("clock reading " + std::to_string(clocks_.Taken() + 1));
        dt = SysClock::DateTime{};  // only while the end is under way
    }

    // Empty when the replay reached its recorded end (or the program ended
    // there by itself), else where it stopped short.
    std::string WhereItStopped(bool programEnded) const {
        if (finishing_) return "";
        const uint64_t poll = IO::PollNumber();
        if (programEnded && s_.end && s_.end->kind == EndKind::Exit && poll == s_.end->poll) return "";
        const std::string at = "poll " + std::to_string(poll) + ", " + std::to_string(Waits::RequestsPosted()) +
                               " drawing requests";
        const std::string end = s_.end ? "poll " + std::to_string(s_.end->poll) + ", " +
                                             std::to_string(s_.end->requests) + " drawing requests"
                                       : "the recording has no end line";
        return "the replay stopped at " + at + ", before the recorded end (" + end + ")";
    }

private:
    // The program goes on where the recorded run ended: a run stopped from
    // outside stops here, but one that ended by itself would have ended, so
    // the recording's end cannot be reached.
    void PassedTheEnd() {
        if (s_.end->kind != EndKind::Exit) ReachedEnd();
        Finish(kStatusRanOut, "the recording says the program ended by itself at poll " +
                                  std::to_string(s_.end->poll) + ", but it goes on");
    }

    void ReachedEnd() {
        Finish(0, "the replay reached the end of the recording (poll " + std::to_string(s_.end->poll) + ")");
    }

    void RanOut(const std::string& what) { Finish(kStatusRanOut, "the recording ends before " + what); }

    void Finish(int status, const std::string& message) {
        if (finishing_) return;  // the end itself waits once more (the window's last frame)
        finishing_ = true;
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", who_.c_str(), message.c_str());
        end_(status);
        std::_Exit(status);  // `end` must not return; never go on without input
    }

    Session s_;
    std::string who_;
    EndProgram end_ = nullptr;
    uint64_t lastPoll_ = 0;
    EventLog::Reader events_;   // the next event to give
    ClockLog::Reader clocks_;   // the next clock reading to give
    bool finishing_ = false;
};

Player& ThePlayer() {
    static Player* player = new Player();  // never destroyed: in use until the process ends
    return *player;
}

void SupplyClock(SysClock::DateTime& dt) { ThePlayer().Supply(dt); }
void CheckReplayEnd() { ThePlayer().AtWait(); }

bool replaying = false;

// A replay that is recorded again both supplies and records each reading.
void InstallClockTap() {
    SysClock::ReadingTap tap;
    if (replaying) tap.supply = SupplyClock;
    if (recorder.fd >= 0) tap.observe = RecordClock;
    SysClock::SetReadingTap(tap);
}

}  // namespace

// A recording to a file is written beside it, under the name of the
// process that writes it, and renamed over the file when the run ends: a run
// that never starts, or one that fails before its end, leaves the file as it
// was. A device (/dev/null, a terminal) and the program's own standard
// streams are written in place. A symbolic link stays a link: the file it
// leads to is the one replaced. Empty when written in place.
std::string FileToReplace(const std::string& path) {
    if (IO::IsOwnStream(path)) return "";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return path;
    if (!S_ISREG(info.st_mode)) return "";
    char* real = realpath(path.c_str(), nullptr);
    const std::string file = real != nullptr ? real : path;
    std::free(real);
    return file;
}

bool StartRecording(const std::string& path, const Header& header, std::string& error) {
    std::string why = IO::NamedFileProblem(path, IO::FileUse::Write);
    const std::string replaced = why.empty() ? FileToReplace(path) : "";
    const std::string partial = replaced.empty() ? "" : replaced + "." + std::to_string(getpid()) + ".partial";
    const int fd = why.empty() ? IO::OpenNamedFile(partial.empty() ? path : partial, IO::FileUse::Write, why) : -1;
    if (fd < 0) {
        error = "cannot create recording " + IO::QuotedText(path, '"') + ": " + why;
        return false;
    }
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_APPEND) != 0) {
        error = "cannot create recording " + IO::QuotedText(path, '"') + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    recorder.fd = fd;
    recorder.path = path;
    recorder.replaced = replaced;
    recorder.partialPath = partial;
    recorder.who = header.program;
    Write(HeaderText(header));
    InstallClockTap();
    IO::SetDeliveryObserver(RecordDelivery);
    Waits::AddWaitListener(NoteWait);
    return true;
}

void EndRecording(EndKind kind, int64_t value) {
    if (recorder.fd < 0 || recorder.ended) return;
    recorder.ended = true;
    Write(EndLine({kind, value, IO::PollNumber(), recorder.drawn.load()}));
}

bool RecordingWritten() { return !recorder.failed; }

bool FinishRecording() {
    if (recorder.fd < 0) return true;
    IO::SetDeliveryObserver(nullptr);
    const char* who = recorder.who.c_str();
    const std::string target = IO::QuotedText(recorder.path, '"');
    if (close(recorder.fd) != 0 && !recorder.failed) {
        recorder.failed = true;
        std::fprintf(stderr, "%s: cannot write recording %s: %s\n", who, target.c_str(), std::strerror(errno));
    }
    recorder.fd = -1;
    if (recorder.partialPath.empty()) return !recorder.failed;
    const std::string partial = IO::QuotedText(recorder.partialPath, '"');
    // A run that drew nothing and took no key never started (its window
    // did not open): there is nothing to replay, and the file stays.
    if (Waits::RequestsPosted() == 0 && IO::PollNumber() == 0) {
        unlink(recorder.partialPath.c_str());
        std::fprintf(stderr, "%s: nothing was recorded; %s is left as it was\n", who, target.c_str());
        return true;
    }
    if (recorder.failed) {
        std::fprintf(stderr, "%s: what could be written is in %s; %s is left as it was\n", who, partial.c_str(),
                     target.c_str());
        return false;
    }
    if (rename(recorder.partialPath.c_str(), recorder.replaced.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot write recording %s: %s; it is in %s\n", who, target.c_str(),
                     std::strerror(errno), partial.c_str());
        return false;
    }
    return true;
}

void StartReplay(Session session, std::string who, std::string_view version, EndProgram end) {
    if (session.header.version != version) {
        std::fprintf(stderr, "%s: the recording was made by version %s, this is %s: the replay may differ\n",
                     who.c_str(), IO::QuotedText(session.header.version, '"').c_str(), std::string(version).c_str());
    }
    ThePlayer().Start(std::move(session), std::move(who), end);
    replaying = true;
    InstallClockTap();
    IO::SetInputFeed(&ThePlayer());
    Waits::AddWaitListener(CheckReplayEnd);
}

std::string ReplayStoppedShort(bool programEnded) {
    return replaying ? ThePlayer().WhereItStopped(programEnded) : "";
}

bool StartReplayOf(const std::string& path, std::string who, std::string_view version, EndProgram end,
                   std::string& error) {
    Loaded loaded = LoadRecording(path);
    if (!loaded.Ok()) {
        error = loaded.error;
        return false;
    }
    StartReplay(std::move(loaded.session), std::move(who), version, end);
    return true;
}

}  // namespace Recording
