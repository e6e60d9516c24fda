// The recorder and the player of a session (see Recording.h).
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/console/QuotedText.h"
#include "platform/console/Recording.h"
#include "platform/console/SysClockTap.h"
#include "platform/console/Waits.h"

namespace Recording {
namespace {

// ---- The recorder ----

// Signals that end a session from outside; the end line says which.
constexpr std::array<int, 4> kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

struct RecorderState {
    int fd = -1;                           // opened for appending: every line is one write
    std::string path;
    std::string who;                       // the program, for messages
    std::atomic<bool> ended{false};        // the end line is written once
    bool failed = false;                   // a write failed (said once)
    std::atomic<uint64_t> drawn{0};        // drawing requests posted by the last wait
    std::array<struct sigaction, kEndingSignals.size()> previous{};
};
RecorderState recorder;

// Writes the whole text with one write where it can: a line written from a
// signal handler then never lands inside another line.
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

// Async-signal-safe: digits by hand, one write.
void AppendNumber(char*& out, uint64_t value) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) *out++ = digits[--count];
}

void AppendText(char*& out, const char* text) {
    while (*text) *out++ = *text++;
}

void OnEndingSignal(int sig) {
    const int savedErrno = errno;
    if (!recorder.ended.exchange(true)) {
        char line[96];
        char* out = line;
        AppendText(out, "end signal ");
        AppendNumber(out, uint64_t(sig));
        AppendText(out, " poll ");
        AppendNumber(out, IO::PollNumber());
        AppendText(out, " requests ");
        AppendNumber(out, recorder.drawn.load());
        *out++ = '\n';
        WriteAll(line, std::size_t(out - line));
    }
    // The signal goes on to what handled it before (the terminal's restorer,
    // or the default action), delivered once this handler returns.
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k)
        if (kEndingSignals[k] == sig) sigaction(sig, &recorder.previous[k], nullptr);
    raise(sig);
    errno = savedErrno;
}

// ---- The player ----

class Player final : public IO::InputFeed {
public:
    void Start(Session session, std::string who, EndProgram end) {
        s_ = std::move(session);
        who_ = std::move(who);
        end_ = end;
        lastPoll_ = s_.events.empty() ? 0 : s_.events.back().poll;
    }

    void EventsForPoll(uint64_t poll, std::vector<IO::InputEvent>& events) override {
        if (s_.end && poll > s_.end->poll) ReachedEnd();
        if (!s_.end && poll > lastPoll_) RanOut("poll " + std::to_string(poll));
        for (; next_ < s_.events.size() && s_.events[next_].poll == poll; ++next_)
            events.push_back(s_.events[next_].event);
    }

    // A run that did not end by itself stopped at a wait.
    void AtWait() {
        if (!s_.end || s_.end->kind == EndKind::Exit) return;
        if (IO::PollNumber() == s_.end->poll && Waits::RequestsPosted() >= s_.end->requests) ReachedEnd();
    }

    void Exhausted(uint64_t poll) override {
        if (s_.end && poll == s_.end->poll) ReachedEnd();
        RanOut("a key at poll " + std::to_string(poll));
    }

    void Supply(SysClock::DateTime& dt) {
        if (clocksUsed_ < s_.clocks.size()) {
            dt = s_.clocks[clocksUsed_++];
            return;
        }
        RanOut("clock reading " + std::to_string(clocksUsed_ + 1));
        dt = SysClock::DateTime{};  // only while the end is under way
    }

private:
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
    std::size_t next_ = 0;
    std::size_t clocksUsed_ = 0;
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

bool StartRecording(const std::string& path, const Header& header, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot create recording " + IO::QuotedText(path, '"') + ": " + std::strerror(errno);
        return false;
    }
    recorder.fd = fd;
    recorder.path = path;
    recorder.who = header.program;
    Write(HeaderText(header));
    InstallClockTap();
    IO::SetDeliveryObserver(RecordDelivery);
    Waits::AddWaitListener(NoteWait);
    return true;
}

void RecordEndingSignals() {
    if (recorder.fd < 0) return;
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k) {
        sigaction(kEndingSignals[k], nullptr, &recorder.previous[k]);
        if (recorder.previous[k].sa_handler == SIG_IGN) continue;  // an ignored signal stays ignored
        sigaction(kEndingSignals[k], &action, nullptr);
    }
}


void EndRecording(EndKind kind, int64_t value) {
    if (recorder.fd < 0 || recorder.ended.exchange(true)) return;
    Write(EndLine({kind, value, IO::PollNumber(), recorder.drawn.load()}));
}

bool RecordingWritten() { return !recorder.failed; }

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
