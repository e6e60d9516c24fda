// IO: console keys from the input queue, and plain text to standard output.
#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "platform/console/Clock.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/KeyDecision.h"
#include "platform/console/Waits.h"

namespace IO {
namespace {

// An idle poll waits this long at most; a key, a window event or an end
// request ends the wait at once, so the menu costs nothing while it waits.
constexpr uint64_t kIdleWaitUs = 100000;
// A replay's input comes from its recording, not from the inbox, so there
// is nothing to wait for: it idles a millisecond a poll, as a live poll
// loop once did (recordings count polls, not time).
constexpr uint64_t kReplayIdleUs = 1000;

struct IoState {
    uint8_t pending = 0;  // second half of a two-part key code; 0 = none
    // The last KeyPressed found the queue empty, with this many drawing
    // requests posted by then: the next empty poll with nothing drawn in
    // between is a polling loop, and waits for input.
    bool lastPollEmpty = false;
    uint64_t drawnAtLastPoll = 0;
};
IoState io;

// Writes every byte, resuming after partial writes and interruptions; a
// failing output (closed, full disk) is ignored as the console's would be.
void WriteAll(const char* data, std::size_t length) {
    while (length > 0) {
        ssize_t written = write(STDOUT_FILENO, data, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;
        }
        data += written;
        length -= std::size_t(written);
    }
}

// Waits for and removes the next event; blocks (or runs the wait hook)
// while the queue is empty, showing the window what was drawn first.
InputEvent NextEvent() {
    InputEvent event;
    while (!PopQueued(event)) {
        Waits::BeforeWait();
        WaitForInput();
        Waits::AfterWait();
    }
    return event;
}

// A poll of an empty queue. The menu polls without pause, so a poll that
// follows an empty poll with nothing drawn in between waits for input (and
// so shows the window the finished picture). A poll that
// follows drawing returns at once: the game polls once a frame, in the
// middle of drawing it, and must not show a frame without its captions.
void IdlePoll() {
    const uint64_t drawn = Waits::RequestsPosted();
    const bool polling = io.lastPollEmpty && drawn == io.drawnAtLastPoll;
    io.lastPollEmpty = true;
    io.drawnAtLastPoll = drawn;
    if (!polling) return;
    if (Replaying()) Clock::SleepUs(kReplayIdleUs);
    else Clock::WaitForInputUs(kIdleWaitUs);
}

}  // namespace

void ModuleInit() {
    io = IoState{};
    ResetPolls();
    // Writing to a closed pipe must fail quietly instead of ending the
    // program with SIGPIPE; leave any handler the program set alone.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        signal(SIGPIPE, SIG_IGN);
    }
}

// A key-down reports a waiting key only when RdKey would return a
// character for it; one that RdKey skips (a modifier alone, Shift with a key
// without a character) is dropped like a key-up, or the game would stop in
// RdKey waiting for the next real key.
BOOLEAN KeyPressed() {
    StartPoll();
    InputEvent event;
    if (!PeekQueued(event)) {
        IdlePoll();
        return false;
    }
    io.lastPollEmpty = false;
    if (event.isKey && event.key.keyDown && DecideKey(event.key).kind != KeyDecision::Skip) return true;
    PopQueued(event);  // a key-up, a non-key event or a skipped key: drop this one only
    return false;
}

uint8_t RdKey() {
    StartPoll();
    if (io.pending != 0) {
        uint8_t c = io.pending;
        io.pending = 0;
        return c;
    }
    for (;;) {
        InputEvent event = NextEvent();
        if (!event.isKey || !event.key.keyDown) continue;
        KeyDecision d = DecideKey(event.key);
        switch (d.kind) {
            case KeyDecision::Skip:
                continue;
            case KeyDecision::Char:
                return d.ch;
            case KeyDecision::TwoPart:
                io.pending = d.second;
                return 0;
        }
    }
}

void RdLn() {
    // Nothing to do: no line of input is held that could be discarded.
}

void WrStr(const CHAR* s, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && s[length] != '\0') ++length;
    WriteAll(s, length);
}

void WrLn() { WriteAll("\n", 1); }

void WrCard(CARDINAL c, INTEGER width) {
    char digits[10];   // the widest CARDINAL has ten digits, written from the end
    std::size_t first = sizeof digits;
    do {
        digits[--first] = char('0' + c % 10);
        c /= 10;
    } while (c != 0);
    const std::size_t count = sizeof digits - first;
    // A wider field is filled with leading blanks.
    for (INTEGER pad = width - INTEGER(count); pad > 0; --pad) WriteAll(" ", 1);
    WriteAll(digits + first, count);
}

}  // namespace IO
